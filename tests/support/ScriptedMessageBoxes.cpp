#include "tests/support/ScriptedMessageBoxes.h"

namespace {

struct Expected {
    MessageBoxRequest request;
    MessageAnswer answer;
};

QList<Expected> script;
QList<MessageBoxRequest> shownBoxes;

MessageAnswer answerFromScript(const MessageBoxRequest& request)
{
    shownBoxes.append(request);
    if (script.isEmpty()) {
        ADD_FAILURE() << "unexpected message box: " << request.text.toStdString();
        return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    const Expected next = script.takeFirst();
    EXPECT_EQ(request.text.toStdString(), next.request.text.toStdString());
    EXPECT_EQ(request.caption.toStdString(), next.request.caption.toStdString());
    EXPECT_EQ(request.buttons, next.request.buttons) << request.text.toStdString();
    EXPECT_EQ(request.icon, next.request.icon) << request.text.toStdString();
    return next.answer;
}

}  // namespace

void ScriptedMessageBoxes::expect(const QString& text, MessageButtons buttons, MessageIcon icon, MessageAnswer answer,
                                  const QString& caption)
{
    script.append({MessageBoxRequest{nullptr, text, caption, buttons, icon}, answer});
}

const QList<MessageBoxRequest>& ScriptedMessageBoxes::shown()
{
    return shownBoxes;
}

void ScriptedMessageBoxes::Listener::OnTestStart(const ::testing::TestInfo&)
{
    script.clear();
    shownBoxes.clear();
    SetMessageBoxAnswerer(answerFromScript);
}

void ScriptedMessageBoxes::Listener::OnTestEnd(const ::testing::TestInfo&)
{
    for (const Expected& missing : script)
        ADD_FAILURE() << "expected message box did not appear: " << missing.request.text.toStdString();
    script.clear();
    SetMessageBoxAnswerer(nullptr);
}
