#include "tests/support/PromptResponder.h"

#include <gtest/gtest.h>

namespace testui {

namespace {

const char* kindName(ui::PromptRequest::Kind kind)
{
    switch (kind) {
    case ui::PromptRequest::Kind::Message: return "message";
    case ui::PromptRequest::Kind::Question: return "question";
    case ui::PromptRequest::Kind::Input: return "input";
    case ui::PromptRequest::Kind::Folder: return "folder";
    case ui::PromptRequest::Kind::OpenUrl: return "open-url";
    case ui::PromptRequest::Kind::Error: return "error";
    }
    return "?";
}

ui::PromptReply refusal()
{
    return {ui::Answer::Cancel, QString()};
}

// Stands in while no PromptResponder lives, so that a forgotten prompt fails
// the test instead of waiting for a user who never comes.
class StrictResponder : public ui::Responder {
public:
    ui::PromptReply respond(const ui::PromptRequest& request) override
    {
        ADD_FAILURE() << "unexpected prompt (no PromptResponder installed): "
                      << describe(request).toStdString();
        return refusal();
    }
};

StrictResponder g_strict;
const bool g_strictInstalled = [] {
    if (!ui::responder())
        ui::setResponder(&g_strict);
    return true;
}();

} // namespace

QString describe(const ui::PromptRequest& request)
{
    return QStringLiteral("%1 \"%2\" captioned \"%3\"")
        .arg(QString::fromLatin1(kindName(request.kind)), request.text, request.caption);
}

PromptResponder::PromptResponder()
    : previous_(ui::responder())
{
    ui::setResponder(this);
}

PromptResponder::~PromptResponder()
{
    verify();
    ui::setResponder(previous_);
}

PromptResponder& PromptResponder::expect(Kind kind, ui::PromptReply reply)
{
    expected_.push_back({kind, QString(), std::move(reply)});
    return *this;
}

PromptResponder& PromptResponder::expect(const QString& textPart, ui::PromptReply reply)
{
    expected_.push_back({std::nullopt, textPart, std::move(reply)});
    return *this;
}

PromptResponder& PromptResponder::expect(Kind kind, const QString& textPart, ui::PromptReply reply)
{
    expected_.push_back({kind, textPart, std::move(reply)});
    return *this;
}

void PromptResponder::verify()
{
    for (const Expectation& e : expected_)
        ADD_FAILURE() << "expected prompt never came: " << describeExpectation(e);
    expected_.clear();
}

ui::PromptRequest PromptResponder::last() const
{
    if (prompts_.empty()) {
        ADD_FAILURE() << "no prompt was shown";
        return {};
    }
    return prompts_.back();
}

QStringList PromptResponder::texts() const
{
    QStringList out;
    for (const auto& p : prompts_)
        out << p.text;
    return out;
}

std::string PromptResponder::describeExpectation(const Expectation& e)
{
    return std::string(e.kind ? kindName(*e.kind) : "any prompt") + " containing \""
           + e.textPart.toStdString() + "\"";
}

bool PromptResponder::matches(const Expectation& e, const ui::PromptRequest& r)
{
    if (e.kind && *e.kind != r.kind)
        return false;
    return r.text.contains(e.textPart);
}

ui::PromptReply PromptResponder::respond(const ui::PromptRequest& request)
{
    prompts_.push_back(request);
    if (expected_.empty()) {
        ADD_FAILURE() << "unexpected prompt: " << describe(request).toStdString();
        return refusal();
    }
    if (!matches(expected_.front(), request)) {
        ADD_FAILURE() << "unexpected prompt: " << describe(request).toStdString()
                      << "; the next expected is " << describeExpectation(expected_.front());
        // That expectation is reported here; it is not reported again as never met.
        expected_.pop_front();
        return refusal();
    }
    const ui::PromptReply reply = expected_.front().reply;
    expected_.pop_front();
    return reply;
}

} // namespace testui
