#pragma once

#include "platform/ui/Prompt.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace testui {

// Answers the program's prompts in a test. While it lives it is the installed
// responder (the one installed before returns when it is destroyed). Each
// prompt must match the next expectation queued with expect(); every prompt
// is recorded. A prompt that does not match the next expectation fails the
// test, uses that expectation up, and is answered Cancel with no text; so does
// a prompt when none is queued. Expectations still queued when the responder
// is destroyed fail the test too.
//
//   testui::PromptResponder prompts;
//   prompts.expect("确认删除?", {ui::Answer::Cancel});
//   form.cmd_dele->click();
//   EXPECT_EQ(prompts.last().caption, "提示");
//
// While no PromptResponder lives, a test program that links this library
// fails any prompt as unexpected instead of opening a real dialog (which
// would wait for a user forever); call ui::setResponder(nullptr) first to see
// a real one.
class PromptResponder : public ui::Responder {
public:
    using Kind = ui::PromptRequest::Kind;

    PromptResponder();
    ~PromptResponder() override;
    PromptResponder(const PromptResponder&) = delete;
    PromptResponder& operator=(const PromptResponder&) = delete;

    // The next prompt is of this kind.
    PromptResponder& expect(Kind kind, ui::PromptReply reply = {});
    // The next prompt's text contains textPart (any kind).
    PromptResponder& expect(const QString& textPart, ui::PromptReply reply = {});
    PromptResponder& expect(Kind kind, const QString& textPart, ui::PromptReply reply = {});

    // Fails the test for every expectation not yet met, and forgets them.
    void verify();
    int pending() const { return int(expected_.size()); }

    // Every prompt so far, in order.
    const std::vector<ui::PromptRequest>& prompts() const { return prompts_; }
    int count() const { return int(prompts_.size()); }
    // The last prompt; fails the test (and returns an empty request) when there was none.
    ui::PromptRequest last() const;
    QStringList texts() const;
    void clear() { prompts_.clear(); }

    ui::PromptReply respond(const ui::PromptRequest& request) override;

private:
    struct Expectation {
        std::optional<Kind> kind;
        QString textPart;
        ui::PromptReply reply;
    };
    static std::string describeExpectation(const Expectation& e);
    static bool matches(const Expectation& e, const ui::PromptRequest& r);

    ui::Responder* previous_;
    std::deque<Expectation> expected_;
    std::vector<ui::PromptRequest> prompts_;
};

// How a prompt reads in a failure message: kind, caption and text.
QString describe(const ui::PromptRequest& request);

} // namespace testui
