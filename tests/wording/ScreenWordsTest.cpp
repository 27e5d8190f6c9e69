#include "app/AppSection.hpp"
#include "app/AppState.hpp"
#include "app/WordingTranslator.hpp"
#include "gallery/Gallery.hpp"
#include "shell/RootView.hpp"
#include "shell/settings/SettingsWindow.hpp"
#include "shell/tray/MenuBarPanel.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace dorvale {

namespace {

using test::ShellFixture;

// Words that belong to another desktop and must not reach the user on this one.
const QStringList foreignWords = {
    QStringLiteral("Mac"),      QStringLiteral("macOS"),     QStringLiteral("Finder"),
    QStringLiteral("APFS"),     QStringLiteral("iCloud"),    QStringLiteral("Time Machine"),
    QStringLiteral("menu bar"), QStringLiteral("Spotlight"),
};

// Every text a widget shows or announces, with where it was found.
class ShownTexts {
public:
    void collect(const QWidget& root) {
        add(root.windowTitle(), root);
        for (const QWidget* widget : root.findChildren<QWidget*>()) {
            collectWidget(*widget);
        }
        collectWidget(root);
    }

    /// The texts holding a foreign word, each with the widget it was found on.
    [[nodiscard]] QStringList foreign() const { return m_foreign; }

private:
    void collectWidget(const QWidget& widget) {
        add(widget.toolTip(), widget);
        add(widget.accessibleName(), widget);
        add(widget.accessibleDescription(), widget);
        if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
            add(label->text(), widget);
        }
        if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
            add(button->text(), widget);
        }
        if (const auto* field = qobject_cast<const QLineEdit*>(&widget)) {
            add(field->placeholderText(), widget);
        }
        for (const QAction* action : widget.actions()) {
            add(action->text(), widget);
            add(action->toolTip(), widget);
        }
        if (const auto* view = qobject_cast<const QAbstractItemView*>(&widget)) {
            if (view->model() != nullptr) {
                collectRows(*view->model(), QModelIndex(), widget);
            }
        }
    }

    void collectRows(const QAbstractItemModel& model, const QModelIndex& parent,
                     const QWidget& widget) {
        for (int column = 0; column < model.columnCount(parent); ++column) {
            add(model.headerData(column, Qt::Horizontal).toString(), widget);
        }
        const int rows = std::min(model.rowCount(parent), 200);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < model.columnCount(parent); ++column) {
                const QModelIndex index = model.index(row, column, parent);
                for (const int role :
                     {int(Qt::DisplayRole), int(Qt::ToolTipRole), int(Qt::AccessibleTextRole)}) {
                    add(index.data(role).toString(), widget);
                }
                if (column == 0) {
                    collectRows(model, index, widget);
                }
            }
        }
    }

    void add(const QString& text, const QWidget& widget) {
        for (const QString& word : foreignWords) {
            if (text.contains(word)) {
                m_foreign << QStringLiteral("%1 (%2 %3)")
                                 .arg(text, QString::fromLatin1(widget.metaObject()->className()),
                                      widget.objectName());
                return;
            }
        }
    }

    QStringList m_foreign;
};

} // namespace

// With this desktop's wording installed, as the program's own start installs it, no screen
// shows or announces a word of another desktop. Pictures of every section are written when
// DORVALE_GALLERY_DIR is set.
class ScreenWordsTest : public QObject {
    Q_OBJECT

private slots:
    // Before anything builds a text, as at the program's start.
    void initTestCase() { m_wording = std::make_unique<WordingTranslator>(builtInWording()); }

    void everySectionWithAScan_data() {
        QTest::addColumn<bool>("wholeDisk");
        QTest::newRow("home") << false;
        QTest::newRow("disk") << true;
    }

    void everySectionWithAScan() {
        QFETCH(const bool, wholeDisk);
        ShellFixture f;
        f.makeState();
        RootView* root = f.show(new RootView(*f.state), {1280, 860});
        test::AppStateAccess(*f.state).setScan(f.homeScan(), wholeDisk ? ScanTarget::wholeDisk()
                                                                       : ScanTarget::home());
        ShownTexts texts;
        for (const AppSection section : allAppSections) {
            f.state->setSection(section);
            QCoreApplication::processEvents();
            texts.collect(*root);
            test::savePicture(*root, QStringLiteral("words-%1-%2")
                                         .arg(QString::fromLatin1(rawValue(section).data()),
                                              QLatin1String(QTest::currentDataTag())));
        }
        QVERIFY2(texts.foreign().isEmpty(), qPrintable(texts.foreign().join(QLatin1Char('\n'))));
    }

    void settingsAndTrayPanel() {
        ShellFixture f;
        f.makeState();
        SettingsWindow settings(*f.state);
        settings.show();
        MenuBarPanel panel(*f.state);
        panel.show();
        QCoreApplication::processEvents();
        ShownTexts texts;
        texts.collect(settings);
        texts.collect(panel);
        test::savePicture(settings, QStringLiteral("words-settings"));
        test::savePicture(panel, QStringLiteral("words-tray-panel"));
        QVERIFY2(texts.foreign().isEmpty(), qPrintable(texts.foreign().join(QLatin1Char('\n'))));
    }

private:
    std::unique_ptr<WordingTranslator> m_wording;
};

DORVALE_QT_TEST(ScreenWordsTest)

} // namespace dorvale

#include "ScreenWordsTest.moc"
