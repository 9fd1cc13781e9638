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
        const char* arguments;
        bool menuEntryInstalled;
        const char* entryBefore;
        int exitCode;     // -1: Qt ended the process
        const char* says; // on stdout when the exit code is 0, else on stderr
        const char* entryAfter;
        bool relativeConfigHome; // ignored as the desktop's rules say: ~/.config then
    } cases[] = {
        {"--help", true, "", 0, "Usage: pantiro [OPTION]...", "", false},
        {"-h --autostart=on", true, "", 0, "--autostart on|off", "", false},
        {"--version", true, "", 0, "pantiro " PANTIRO_VERSION "\n", "", false},
        {"-style fusion --style=fusion --platform xcb -reverse -v", true, "", 0, "pantiro " PANTIRO_VERSION "\n", "",
         false},
        {"-platform nosuchplatform", true, "", -1, "\"nosuchplatform\"", "", false},
        {"--patrol", true, "own", 2, "pantiro: unknown option '--patrol'\nTry 'pantiro --help' for more", "own", false},
        {"--help -x", true, "", 2, "pantiro: unknown option '-x'", "", false},
        {"pantiro.lst", true, "", 2, "pantiro: unexpected argument 'pantiro.lst'", "", false},
        {"-style", true, "", 2, "pantiro: option '-style' needs a value", "", false},
        {"--autostart", true, "", 2, "pantiro: --autostart needs on or off", "", false},
        {"--autostart yes", true, "own", 2, "pantiro: --autostart takes on or off, not 'yes'", "own", false},
        {"--autostart on", true, "", 0, "Pantiro starts when you log in", "link", false},
        {"--autostart=on", true, "own", 0, "Pantiro starts when you log in", "link", false},
        {"--autostart on", false, "", 1, "pantiro: the menu entry org.korvath.Pantiro.desktop is not installed", "",
         false},
        {"--autostart off", true, "link", 0, "Pantiro no longer starts when you log in", "", false},
        {"--autostart=off", false, "own", 0, "Pantiro no longer starts when you log in", "", false},
        {"--autostart off", true, "", 0, "Pantiro was not set to start when you log in", "", false},
        // "system": an administrator's entry for every user as well.
        {"--autostart off", true, "system", 0, "Pantiro no longer starts when you log in", "hidden", false},
        {"--autostart on", true, "system", 0, "Pantiro starts when you log in", "link", false},
        {"--autostart on", true, "", 0, "Pantiro starts when you log in", "link", true},
        // The window without a display: one plain line instead of Qt's abort.
        {"", true, "", 1, "pantiro: no display to open the window on; set DISPLAY or run it from the desktop\n", "",
         false},
        {"-platform xcb", true, "", 1, "pantiro: no display to open the window on;", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        QTemporaryDir home;
        const QString menuEntry = home.filePath(u"data/applications/org.korvath.Pantiro.desktop"_s);
        const QString configHome = c.relativeConfigHome ? u".config"_s : u"config"_s;
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

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            environment.remove(name);
        environment.insert(u"HOME"_s, home.path());
        environment.insert(u"XDG_CONFIG_HOME"_s, c.relativeConfigHome ? u"config"_s : home.filePath(u"config"_s));
        environment.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
        environment.insert(u"XDG_DATA_DIRS"_s, home.filePath(u"usr"_s));
        environment.insert(u"XDG_CONFIG_DIRS"_s, home.filePath(u"xdg"_s));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(home.path());
        program.start(QStringLiteral(PANTIRO_PROGRAM),
                      QString::fromLatin1(c.arguments).split(u' ', Qt::SkipEmptyParts));
        ASSERT_TRUE(program.waitForFinished(20000));
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        const bool normalExit = program.exitStatus() == QProcess::NormalExit;
        EXPECT_EQ(normalExit ? program.exitCode() : -1, c.exitCode) << err.toStdString();
        EXPECT_TRUE((c.exitCode == 0 ? out : err).contains(QString::fromLatin1(c.says))) << (out + err).toStdString();
        EXPECT_TRUE(c.exitCode < 0 || (c.exitCode == 0 ? err : out).isEmpty()) << (out + err).toStdString();
        EXPECT_EQ(autostartEntry(entry, menuEntry), QString::fromLatin1(c.entryAfter));
        EXPECT_FALSE(QFileInfo::exists(entry + u".new"_s));
    }
}
