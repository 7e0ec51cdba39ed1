#include "UiTestSupport.h"

#include <memory>

namespace {

// The application object of the test program, made before the first test.
class QtApplication : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "addressbookui_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace

DialogServices RecordedServices::services() {
    DialogServices s;
    s.inform = [this](const QString& text) { asked << "Information: " + text; };
    const auto question = [this](const QString& prefix) {
        return [this, prefix](const QString& text, const QString& caption) {
            asked << prefix + caption + ": " + text;
            if (answers.empty()) return true;
            const bool answer = answers.front();
            answers.pop_front();
            return answer;
        };
    };
    s.askYesNo = question("");
    s.askYesNoDefaultNo = question("(No) ");
    s.beep = [this] { ++beeps; };
    s.help = [this](const QString& window) { helped << window; };
    return s;
}
