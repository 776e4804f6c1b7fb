#pragma once
// The Qt application object of a test binary, made once before its first test and destroyed
// after its last: QApplication for window tests, QCoreApplication for the others.
//   ZV_TEST_APPLICATION(QApplication);

#include <gtest/gtest.h>

#include <memory>

namespace zv::test {

template <typename App>
class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { m_app = std::make_unique<App>(m_argc, m_argv); }
  void TearDown() override { m_app.reset(); }

 private:
  int m_argc = 1;
  char m_name[8] = "zv_test";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<App> m_app;
};

}  // namespace zv::test

#define ZV_TEST_APPLICATION(App)                                            \
  [[maybe_unused]] static ::testing::Environment* const zvTestApplication = \
      ::testing::AddGlobalTestEnvironment(new ::zv::test::ApplicationEnvironment<App>)
