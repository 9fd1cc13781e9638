#include "res/Resources.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

const QStringList kTopics = {QStringLiteral("welcome"), QStringLiteral("steering"), QStringLiteral("positions"),
                             QStringLiteral("patrol"),  QStringLiteral("settings"), QStringLiteral("simulator")};

QString readPage(const QString& qrcUrl)
{
    QFile file(QUrl(qrcUrl).path().prepend(QLatin1Char(':')));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList linksOf(const QString& page)
{
    static const QRegularExpression link(QStringLiteral(R"re((?:href|src)\s*=\s*"([^"]*)")re"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList links;
    for (const auto& match : link.globalMatch(page))
        links << match.captured(1);
    return links;
}

QSet<QString> pagesIn(const QString& folder)
{
    QSet<QString> pages;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.html")}))
        pages << name.chopped(5);
    return pages;
}

} // namespace

TEST(HelpPages, BothLanguagesHaveEveryTopicAndNothingElse)
{
    const QSet<QString> topics(kTopics.begin(), kTopics.end());
    EXPECT_EQ(pagesIn(QStringLiteral(":/help/de")), topics);
    EXPECT_EQ(pagesIn(QStringLiteral(":/help/en")), topics);

    EXPECT_EQ(HelpPageUrl(0), QStringLiteral("qrc:/help/de/welcome.html"));
    EXPECT_EQ(HelpPageUrl(1, QStringLiteral("patrol")), QStringLiteral("qrc:/help/en/patrol.html"));
    for (int32_t language : {-1, 2, 7})
        EXPECT_TRUE(HelpPageUrl(language).isEmpty()) << language;
    EXPECT_TRUE(HelpPageUrl(0, QStringLiteral("nosuchtopic")).isEmpty());
    EXPECT_TRUE(HelpPageUrl(0, QStringLiteral("../en/welcome")).isEmpty());
}

// Every link inside the help leads to a bundled page (and anchor); only the web and mail may be
// reached from outside it. The welcome page is the index of every other topic.
TEST(HelpPages, EveryLinkResolvesAndTheWelcomePageIndexesEveryTopic)
{
    for (int32_t language : {0, 1}) {
        for (const QString& topic : kTopics) {
            const QUrl base(HelpPageUrl(language, topic));
            const QString page = readPage(base.toString());
            ASSERT_FALSE(page.isEmpty()) << base.toString().toStdString();
            EXPECT_TRUE(page.contains(QStringLiteral("<title>"))) << base.toString().toStdString();
            for (const QString& link : linksOf(page)) {
                const QUrl url(link);
                if (url.scheme() == QStringLiteral("https") || url.scheme() == QStringLiteral("mailto"))
                    continue;
                EXPECT_TRUE(url.isRelative() && !link.startsWith(QLatin1Char('/')))
                    << link.toStdString() << " in " << base.toString().toStdString();
                const QUrl target = base.resolved(url);
                const QString targetPage = readPage(target.toString(QUrl::RemoveFragment));
                EXPECT_FALSE(targetPage.isEmpty()) << link.toStdString() << " in " << base.toString().toStdString();
                if (url.hasFragment()) {
                    EXPECT_TRUE(targetPage.contains(QStringLiteral("name=\"%1\"").arg(url.fragment())))
                        << link.toStdString() << " in " << base.toString().toStdString();
                }
            }
        }
        const QStringList indexLinks = linksOf(readPage(HelpPageUrl(language)));
        for (const QString& topic : kTopics.mid(1))
            EXPECT_TRUE(indexLinks.contains(topic + QStringLiteral(".html")))
                << "welcome does not list " << topic.toStdString();
    }
}
