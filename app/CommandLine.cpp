#include "app/CommandLine.h"

#include "app/Autostart.h"
#include "base/Profile.h"
#include "base/Settings.h"

#include <cstdio>

namespace {

// Qt's own options, which QApplication takes out of the arguments itself, and whether the next
// argument is their value.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"style", true},
    {"stylesheet", true},
    {"qwindowgeometry", true},
    {"geometry", true},
    {"qwindowicon", true},
    {"icon", true},
    {"qwindowtitle", true},
    {"title", true},
    {"session", true},
    {"display", true},
    {"name", true},
    {"visual", true},
    {"reverse", false},
    {"widgetcount", false},
    {"testability", false},
    {"nograb", false},
    {"dograb", false},
};
// The Qt options that also take their value after "=", as in -style=fusion.
constexpr const char* kQtInlineValueOptions[] = {"style", "stylesheet", "qmljsdebugger"};

enum class QtOptionKind { None, Flag, WithValue };

QtOptionKind qtOptionKind(const QString& argument)
{
    // Qt reads "--style" as "-style".
    QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
    if (name.contains(u'=')) {
        name = name.section(u'=', 0, 0);
        for (const char* inlineName : kQtInlineValueOptions)
            if (name == QLatin1StringView(inlineName))
                return QtOptionKind::Flag;
        return QtOptionKind::None;
    }
    for (const QtOption& option : kQtOptions)
        if (name == QLatin1StringView(option.name))
            return option.takesValue ? QtOptionKind::WithValue : QtOptionKind::Flag;
    return QtOptionKind::None;
}

// Qt would abort the program on the desktop's platforms (X11, Wayland) without a display to
// connect to; other platforms (offscreen, VNC, a framebuffer) need none.
// `arguments` are those of a command line that ReadCommandLine found correct.
bool LacksDisplay(const QStringList& arguments)
{
    QString platforms = qEnvironmentVariable("QT_QPA_PLATFORM");
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        if (!arguments[i].startsWith(u'-'))
            continue;
        const QString name = arguments[i].mid(arguments[i].startsWith(QStringLiteral("--")) ? 2 : 1);
        if (name == u"display")
            return false;
        if (name == u"platform")
            platforms = arguments[i + 1];
    }
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return false;
    // A list such as "wayland;xcb" is tried in order.
    for (const QString& platform : platforms.split(u';', Qt::SkipEmptyParts)) {
        if (!platform.startsWith(u"xcb") && !platform.startsWith(u"wayland"))
            return false;
    }
    return true;
}

CommandLineRequest usage(const QString& text)
{
    return {CommandLineRequest::Action::Usage, text, {}};
}

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

const char kHelp[] = R"(Usage: pantiro [OPTION]... [QT-OPTION]...
Steer a motorised pan/tilt head that carries a network camera, keep a list of
observation positions and let Pantiro patrol them while the live picture shows.
Without options the main window opens.

  --autostart on|off  start Pantiro whenever you log in to the desktop (on),
                      or no longer (off); with the option "Automatik nach
                      Programmstart" set, the patrol starts by itself as well
  --profile NAME      run with the settings profile NAME (letters, digits, '-'
                      and '_'), one for each head; with --autostart on, that
                      head's entry starts it in ~/Pantiro/NAME
  --list-profiles     print the names of the profiles found and exit
  -h, --help          show this help and exit
  -v, --version       show the version and exit

Qt's own options work as in every Qt program, for example -style NAME,
-platform NAME, -display DISPLAY or -reverse.

Settings: $XDG_CONFIG_HOME/Korvath/pantiro.conf (~/.config/Korvath/pantiro.conf),
pantiro-NAME.conf for a profile; positions: pantiro.lst in the folder Pantiro
starts in.
Exit status: 0 on success, 1 when --autostart could not be changed, 2 on a wrong
command line. See pantiro(1).
)";

} // namespace

CommandLineRequest ReadCommandLine(const QStringList& arguments)
{
    bool help = false;
    bool version = false;
    bool listProfiles = false;
    std::optional<bool> autostart;
    QString profile;
    // "--name VALUE" or "--name=VALUE"; false when the value is missing.
    const auto valueOf = [&](qsizetype& i, QString& value) {
        if (arguments[i].contains(u'=')) {
            value = arguments[i].section(u'=', 1);
            return true;
        }
        if (i + 1 >= arguments.size())
            return false;
        value = arguments[++i];
        return true;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"-h" || argument == u"--help") {
            help = true;
        } else if (argument == u"-v" || argument == u"--version") {
            version = true;
        } else if (argument == u"--autostart" || argument.startsWith(u"--autostart=")) {
            QString value;
            if (!valueOf(i, value))
                return usage(QStringLiteral("--autostart needs on or off"));
            if (value != u"on" && value != u"off")
                return usage(QStringLiteral("--autostart takes on or off, not '%1'").arg(value));
            autostart = value == u"on";
        } else if (argument == u"--profile" || argument.startsWith(u"--profile=")) {
            if (!valueOf(i, profile))
                return usage(QStringLiteral("--profile needs a name"));
            if (!IsProfileName(profile))
                return usage(
                    QStringLiteral(
                        "--profile takes up to %1 letters, digits, '-' and '_', not beginning with '-'; not '%2'")
                        .arg(kMaxProfileName)
                        .arg(profile));
        } else if (argument == u"--list-profiles") {
            listProfiles = true;
        } else if (!argument.startsWith(u'-') || argument == u"-") {
            return usage(QStringLiteral("unexpected argument '%1'").arg(argument));
        } else {
            const QtOptionKind kind = qtOptionKind(argument);
            if (kind == QtOptionKind::None)
                return usage(QStringLiteral("unknown option '%1'").arg(argument));
            if (kind == QtOptionKind::WithValue && ++i == arguments.size())
                return usage(QStringLiteral("option '%1' needs a value").arg(argument));
        }
    }
    using Action = CommandLineRequest::Action;
    if (help)
        return {Action::Help, {}, {}};
    if (version)
        return {Action::Version, {}, {}};
    if (autostart)
        return {*autostart ? Action::AutostartOn : Action::AutostartOff, {}, profile};
    if (listProfiles)
        return {Action::ListProfiles, {}, {}};
    return {Action::RunWindow, {}, profile};
}

std::optional<int> AnswerCommandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLineRequest request = ReadCommandLine(arguments);
    using Action = CommandLineRequest::Action;
    switch (request.action) {
    case Action::RunWindow:
        if (!LacksDisplay(arguments)) {
            UseProfile(request.profile);
            return std::nullopt;
        }
        std::fputs("pantiro: no display to open the window on; set DISPLAY or run it from the desktop\n", stderr);
        return 1;
    case Action::Help:
        std::fputs(kHelp, stdout);
        return 0;
    case Action::Version:
        std::fputs("pantiro " PANTIRO_VERSION "\n", stdout);
        return 0;
    case Action::AutostartOn:
    case Action::AutostartOff: {
        const AutostartResult result = request.action == Action::AutostartOn ? EnableAutostart(request.profile)
                                                                             : DisableAutostart(request.profile);
        if (result.ok)
            print(stdout, result.message + u'\n');
        else
            print(stderr, QStringLiteral("pantiro: %1\n").arg(result.message));
        return result.ok ? 0 : 1;
    }
    case Action::ListProfiles:
        for (const QString& name : FindProfiles(SettingsStore::profileFolder()))
            print(stdout, name + u'\n');
        return 0;
    case Action::Usage:
        print(stderr,
              QStringLiteral("pantiro: %1\nTry 'pantiro --help' for more information.\n").arg(request.usageError));
        return 2;
    }
    return 2;
}
