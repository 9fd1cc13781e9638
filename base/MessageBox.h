#pragma once

#include <QString>

#include <functional>

class QObject;

// Every message to the operator goes through MessageBox(). The process installs an answerer
// that shows a real box; tests install one that answers from a script, so that no test
// ever waits on a modal box.

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Information, Question, Stop };
enum class MessageAnswer { Ok, Yes, No };

inline const QString kMessageCaption = QStringLiteral("Pantiro [Mobotix]");

struct MessageBoxRequest {
    QObject* owner = nullptr;  // the window the box belongs to; null at start-up
    QString text;
    QString caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

using MessageBoxAnswerer = std::function<MessageAnswer(const MessageBoxRequest&)>;

MessageAnswer MessageBox(QObject* owner, const QString& text, MessageButtons buttons, MessageIcon icon,
                         const QString& caption = kMessageCaption);

// Replaces the answerer and returns the one before. Without an answerer a box is written to
// stderr and answered with its safe choice (No, or OK).
MessageBoxAnswerer SetMessageBoxAnswerer(MessageBoxAnswerer answerer);
