// The help page against the program: every key a window answers to is in that
// window's key table, every command of tarnwick-cli has its row, and every link
// of the contents leads somewhere.

#include "gui/common/pagecontext.h"
#include "gui/tools/mergeform.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QShortcut>
#include <QTest>

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

QString HelpPage()
{
    QFile file(QStringLiteral(TARNWICK_HELP_PAGE));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The keys of the table that follows id="section" on the page.
QStringList KeysOf(const QString& page, const QString& section)
{
    const qsizetype from = page.indexOf(QStringLiteral("id=\"%1\"").arg(section));
    if (from < 0)
        return {};
    const qsizetype to = page.indexOf(QStringLiteral("</table>"), from);
    QStringList keys;
    static const QRegularExpression kbd(QStringLiteral("<kbd>([^<]*)</kbd>"));
    for (const auto& m : kbd.globalMatch(page.mid(from, to - from)))
        keys << m.captured(1);
    return keys;
}

QString Shown(const QKeySequence& key)
{
    return key.toString(QKeySequence::PortableText);
}

// The keys a window takes for its commands: shortcuts of its actions, of its
// buttons (other than the Alt+letter of an underlined caption) and its own.
QStringList KeysOfWindow(const QWidget& window)
{
    QStringList keys;
    for (const QAction* action : window.findChildren<QAction*>())
        for (const QKeySequence& key : action->shortcuts())
            keys << Shown(key);
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        if (!button->shortcut().isEmpty() && button->shortcut() != QKeySequence::mnemonic(button->text()))
            keys << Shown(button->shortcut());
    for (const QShortcut* shortcut : window.findChildren<QShortcut*>())
        keys << Shown(shortcut->key());
    keys.removeDuplicates();
    return keys;
}

// The commands of tarnwick-cli, as its usage lists them.
QStringList CliCommands()
{
    QProcess cli;
    cli.start(QStringLiteral(TARNWICK_CLI_PATH), { QStringLiteral("--help") });
    if (!cli.waitForFinished(30000))
        return {};
    QStringList commands;
    static const QRegularExpression line(QStringLiteral("^  ([a-z][a-z-]*)( |$)"));
    for (const QString& text : QString::fromUtf8(cli.readAllStandardOutput()).split('\n'))
        if (const auto m = line.match(text); m.hasMatch())
            commands << m.captured(1);
    commands.removeDuplicates();
    return commands;
}

} // namespace

class TestHelpPage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }

    void thePageCoversEveryKeyAndCommand()
    {
        const QString page = HelpPage();
        QVERIFY2(!page.isEmpty(), TARNWICK_HELP_PAGE);

        WindowFixture f;
        auto& main = f.open(false);
        gui::PageContext context;
        gui::TMergeForm merge(context);
        const struct {
            const QWidget& window;
            const char* section;
        } windows[] = { { main, "keys-main" }, { merge, "keys-merge" } };

        QStringList missing;
        for (const auto& w : windows) {
            const QStringList keys = KeysOf(page, QLatin1String(w.section));
            QStringList taken = KeysOfWindow(w.window);
            if (&w.window == &merge) // read from the table before the grid sees them, not shortcuts
                for (const QKeySequence& key : gui::TMergeForm::pickKeys())
                    taken << Shown(key);
            QVERIFY2(!taken.isEmpty(), w.section);
            for (const QString& key : taken)
                if (!keys.contains(key))
                    missing << QStringLiteral("key %1 in %2").arg(key, QLatin1String(w.section));
        }

        const QStringList commands = CliCommands();
        QVERIFY(commands.size() > 10);
        for (const QString& command : commands)
            if (!QRegularExpression(QStringLiteral("<tr><td><code>%1[ <]").arg(command))
                     .match(page)
                     .hasMatch())
                missing << QStringLiteral("command %1").arg(command);

        static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
        for (const auto& m : link.globalMatch(page))
            if (!page.contains(QStringLiteral("id=\"%1\"").arg(m.captured(1))))
                missing << QStringLiteral("section %1").arg(m.captured(1));

        missing.removeDuplicates();
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(TestHelpPage)
#include "test_helppage.moc"
