// The application object the skin tests need: a QApplication for the window tests, a
// QGuiApplication for the renderer's (which links no widgets). Created once before the first
// test by a GoogleTest environment.
#ifdef ZV_SKIN_GUI_APP
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QApplication>
using TestApplication = QApplication;
#endif

#include <gtest/gtest.h>

#include <memory>

namespace {

class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    m_app = std::make_unique<TestApplication>(m_argc, m_argv);
  }
  void TearDown() override { m_app.reset(); }

 private:
  int m_argc = 1;
  char m_name[16] = "zv_skin_test";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<TestApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
