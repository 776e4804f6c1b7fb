#pragma once
// RowName: names each row of a parameterised test after its `name` member, so the test names
// (and the CTest names made from them) read as what would break, the same in every build.

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace zv::test {

struct RowName {
  template <class Row>
  std::string operator()(const testing::TestParamInfo<Row>& info) const {
    std::string out;
    for (const char c : std::string(info.param.name))
      out += (std::isalnum(static_cast<unsigned char>(c)) != 0) ? c : '_';
    return out;
  }
};

}  // namespace zv::test
