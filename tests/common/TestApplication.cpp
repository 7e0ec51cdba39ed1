// The one application object of a test program, made before its first test and
// destroyed after its last, on the platform the test command chose (offscreen). Test
// programs of window classes get a QApplication, the others a QGuiApplication (fonts,
// images and PDF output need one; widgets do not come in).

#include <gtest/gtest.h>

#if QUILLORY_TEST_WIDGETS
#include <QApplication>
using TestApp = QApplication;
#else
#include <QGuiApplication>
using TestApp = QGuiApplication;
#endif
#include <memory>

namespace {

class TestApplication : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "quillory-tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<TestApp>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<TestApp> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new TestApplication);

}  // namespace
