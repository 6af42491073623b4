#include "tests/support/PromptResponder.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class Throwing : public QObject {
protected:
    bool event(QEvent*) override { throw std::runtime_error("处理失败"); }
};

} // namespace

TEST(GuardedApplication, AnErrorEscapingAHandlerReachesTheErrorBox)
{
    testui::PromptResponder prompts;
    prompts.expect(ui::PromptRequest::Kind::Error, QStringLiteral("处理失败"));
    Throwing target;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
    EXPECT_EQ(prompts.count(), 1);
}
