#include "base/MessageBox.h"

#include "base/BeforeModal.h"

#include <cstdio>
#include <utility>

namespace {

MessageBoxAnswerer& currentAnswerer()
{
    static MessageBoxAnswerer answerer;
    return answerer;
}

MessageAnswer answerUnattended(const MessageBoxRequest& request)
{
    std::fprintf(stderr, "%s: %s\n", request.caption.toUtf8().constData(), request.text.toUtf8().constData());
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

}  // namespace

MessageAnswer MessageBox(QObject* owner, const QString& text, MessageButtons buttons, MessageIcon icon,
                         const QString& caption)
{
    RunBeforeModalHook();
    const MessageBoxRequest request{owner, text, caption, buttons, icon};
    const MessageBoxAnswerer& answerer = currentAnswerer();
    return answerer ? answerer(request) : answerUnattended(request);
}

MessageBoxAnswerer SetMessageBoxAnswerer(MessageBoxAnswerer answerer)
{
    return std::exchange(currentAnswerer(), std::move(answerer));
}
