#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// What the user's autostart entry is: "" none, "link" a link to Pantiro's menu entry, "own" a
// file the desktop's settings wrote, "hidden" one that hides an entry for every user.
QString autostartEntry(const QString& path, const QString& menuEntry)
{
    const QFileInfo entry(path);
    if (entry.isSymLink())
        return entry.symLinkTarget() == menuEntry ? u"link"_s : u"stray link"_s;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().contains("\nHidden=true\n") ? u"hidden"_s : u"own"_s;
}

} // namespace

// The real program in a process of its own, with a private home and no display at all.
TEST(CommandLine, AnswersOnTheTerminalWithoutADisplayAndSetsTheAutostartEntry)
{
    const struct {
        const char* arguments; // "XDG_CONFIG_HOME=config" first: that relative value in the environment
        bool menuEntryInstalled;
        const char* entryBefore;
        int exitCode;     // -1: Qt ended the process
        const char* says; // on stdout when the exit code is 0, else on stderr
        const char* entryAfter;
        const char* profileEntryAfter = ""; // the profile nord's: "" none, else its Name, Exec and Path
    } cases[] = {
        {"--help", true, "", 0, "Usage: pantiro [OPTION]...", ""},
        {"-h --autostart=on", true, "", 0, "--autostart on|off", ""},
        {"--version", true, "", 0, "pantiro " PANTIRO_VERSION "\n", ""},
        {"-style fusion --style=fusion --platform xcb -reverse -v", true, "", 0, "pantiro " PANTIRO_VERSION "\n", ""},
        {"-platform nosuchplatform", true, "", -1, "\"nosuchplatform\"", ""},
        {"--patrol", true, "own", 2, "pantiro: unknown option '--patrol'\nTry 'pantiro --help' for more", "own"},
        {"--help -x", true, "", 2, "pantiro: unknown option '-x'", ""},
        {"pantiro.lst", true, "", 2, "pantiro: unexpected argument 'pantiro.lst'", ""},
        {"-style", true, "", 2, "pantiro: option '-style' needs a value", ""},
        {"--autostart", true, "", 2, "pantiro: --autostart needs on or off", ""},
        {"--autostart yes", true, "own", 2, "pantiro: --autostart takes on or off, not 'yes'", "own"},
        {"--autostart on", true, "", 0, "Pantiro starts when you log in", "link"},
        {"--autostart=on", true, "own", 0, "Pantiro starts when you log in", "link"},
        {"--autostart on", false, "", 1, "pantiro: the menu entry org.korvath.Pantiro.desktop is not installed", ""},
        {"--autostart off", true, "link", 0, "Pantiro no longer starts when you log in", ""},
        {"--autostart=off", false, "own", 0, "Pantiro no longer starts when you log in", ""},
        {"--autostart off", true, "", 0, "Pantiro was not set to start when you log in", ""},
        // "system": an administrator's entry for every user as well.
        {"--autostart off", true, "system", 0, "Pantiro no longer starts when you log in", "hidden"},
        {"--autostart on", true, "system", 0, "Pantiro starts when you log in", "link"},
        // A relative folder is ignored as the desktop's rules say: ~/.config then.
        {"XDG_CONFIG_HOME=config --autostart on", true, "", 0, "Pantiro starts when you log in", "link"},
        // The window without a display: one plain line instead of Qt's abort.
        {"", true, "", 1, "pantiro: no display to open the window on; set DISPLAY or run it from the desktop\n", ""},
        {"-platform xcb", true, "", 1, "pantiro: no display to open the window on;", ""},
        // Profiles: one settings file, lock and journal each; their names are safe in a file name.
        {"--list-profiles", true, "", 0, "Sued_2\nnord\n", ""},
        {"--profile", true, "", 2, "pantiro: --profile needs a name", ""},
        {"--profile ../x", true, "", 2, "pantiro: --profile takes up to 64 letters, digits", ""},
        {"--profile=-x", true, "", 2, "not '-x'", ""},
        {"--profile nord -platform xcb", true, "", 1, "pantiro: no display to open the window on;", ""},
        {"--autostart on --profile nord", true, "own", 0, "profile nord in HOME/Pantiro/nord", "own",
         "Name=Pantiro (nord)\nExec=pantiro --profile nord\nPath=HOME/Pantiro/nord\n"},
        {"--autostart on --profile nord", false, "", 1, "pantiro: the menu entry org.korvath.Pantiro.desktop", ""},
        {"--profile=nord --autostart off", true, "link", 0, "Pantiro was not set to start when you log in", "link"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        QTemporaryDir home;
        QStringList arguments = QString::fromLatin1(c.arguments).split(u' ', Qt::SkipEmptyParts);
        const bool relativeConfigHome = arguments.value(0) == u"XDG_CONFIG_HOME=config"_s;
        const QString configHome = relativeConfigHome ? u".config"_s : u"config"_s;
        if (relativeConfigHome)
            arguments.removeFirst();
        const QString menuEntry = home.filePath(u"data/applications/org.korvath.Pantiro.desktop"_s);
        const QString entry = home.filePath(configHome + u"/autostart/org.korvath.Pantiro.desktop"_s);
        ASSERT_TRUE(QDir(home.path()).mkpath(u"data/applications"_s)
                    && QDir(home.path()).mkpath(configHome + u"/autostart"_s)
                    && QDir(home.path()).mkpath(u"xdg/autostart"_s));
        const QString before = QString::fromLatin1(c.entryBefore);
        ASSERT_TRUE(!c.menuEntryInstalled || QFile::copy(QStringLiteral(PANTIRO_MENU_ENTRY), menuEntry));
        ASSERT_TRUE(before != u"link"_s || QFile::link(menuEntry, entry));
        ASSERT_TRUE(before != u"own"_s || QFile::copy(QStringLiteral(PANTIRO_MENU_ENTRY), entry));
        ASSERT_TRUE(before != u"system"_s
                    || QFile::copy(QStringLiteral(PANTIRO_MENU_ENTRY),
                                   home.filePath(u"xdg/autostart/org.korvath.Pantiro.desktop"_s)));

        // Settings of three named profiles, one of them with a name no start would take, and the default's.
        ASSERT_TRUE(QDir(home.path()).mkpath(configHome + u"/Korvath"_s));
        for (const char* profile : {"pantiro-nord", "pantiro-Sued_2", "pantiro-a b", "pantiro"})
            ASSERT_TRUE(QFile(home.filePath(u"%1/Korvath/%2.conf"_s.arg(configHome, QLatin1StringView(profile))))
                            .open(QIODevice::WriteOnly));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            environment.remove(name);
        environment.insert(u"HOME"_s, home.path());
        environment.insert(u"XDG_CONFIG_HOME"_s, relativeConfigHome ? u"config"_s : home.filePath(u"config"_s));
        environment.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
        environment.insert(u"XDG_DATA_DIRS"_s, home.filePath(u"usr"_s));
        environment.insert(u"XDG_CONFIG_DIRS"_s, home.filePath(u"xdg"_s));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(home.path());
        program.start(QStringLiteral(PANTIRO_PROGRAM), arguments);
        ASSERT_TRUE(program.waitForFinished(20000));
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        const bool normalExit = program.exitStatus() == QProcess::NormalExit;
        EXPECT_EQ(normalExit ? program.exitCode() : -1, c.exitCode) << err.toStdString();
        const auto withHome = [&](const char* text) {
            return QString::fromLatin1(text).replace(u"HOME"_s, home.path());
        };
        EXPECT_TRUE((c.exitCode == 0 ? out : err).contains(withHome(c.says))) << (out + err).toStdString();
        EXPECT_TRUE(c.exitCode < 0 || (c.exitCode == 0 ? err : out).isEmpty()) << (out + err).toStdString();
        EXPECT_EQ(autostartEntry(entry, menuEntry), QString::fromLatin1(c.entryAfter));
        EXPECT_FALSE(QFileInfo::exists(entry + u".new"_s));
        // The profile's entry, in the autostart folder and the menu alike.
        QFile profileEntry(home.filePath(configHome + u"/autostart/org.korvath.Pantiro-nord.desktop"_s));
        QString lines;
        if (profileEntry.open(QIODevice::ReadOnly))
            for (const QString& line : QString::fromUtf8(profileEntry.readAll()).split(u'\n'))
                if (line.startsWith(u"Name="_s) || line.startsWith(u"Exec="_s) || line.startsWith(u"Path="_s))
                    lines += line + u'\n';
        EXPECT_EQ(lines, withHome(c.profileEntryAfter));
        EXPECT_EQ(QFile::exists(home.filePath(u"data/applications/org.korvath.Pantiro-nord.desktop"_s)),
                  !lines.isEmpty());
    }
}
