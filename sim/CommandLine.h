#pragma once

#include "sim/SimOptions.h"

#include <QCommandLineParser>
#include <QStringList>

// The simulator's options, their checks and their help text.
class CommandLine {
public:
    CommandLine();

    // False, with errorText(), on an unknown option or a value out of range.
    bool parse(const QStringList& arguments);

    bool helpRequested() const
    {
        return parser_.isSet(QStringLiteral("help")) || parser_.isSet(QStringLiteral("help-all"));
    }
    QString helpText() const { return parser_.helpText(); }
    QString errorText() const { return error_; }
    const SimOptions& options() const { return options_; }

private:
    bool readOptions();
    bool readNumber(const QString& name, double lowest, double highest, double& value);
    bool readMilliseconds(const QString& name, std::chrono::milliseconds& value);
    bool readSize(const QString& name, QSize& value);
    bool fail(const QString& text);

    QCommandLineParser parser_;
    SimOptions options_;
    QString error_;
};
