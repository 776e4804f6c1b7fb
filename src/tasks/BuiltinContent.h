#pragma once
// The content built into the program: the stored task text, the sayings text and the task
// list's display order, generated at build time from content/ by the content compiler.

#include <QByteArrayView>

#include <cstdint>
#include <span>

namespace zv::content {

// Both texts end in their zero byte (included in the view).
QByteArrayView TaskText();
QByteArrayView SayingsText();
// Task indices 1..1500 in the order the task list shows them.
std::span<const std::uint16_t, 1500> DisplayOrder();

}  // namespace zv::content
