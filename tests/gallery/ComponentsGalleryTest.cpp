#include "gallery/Gallery.hpp"
#include "style/FileIcon.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/AmbientBackground.hpp"
#include "widgets/Card.hpp"
#include "widgets/DestructiveButton.hpp"
#include "widgets/DiskRing.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/EmptyState.hpp"
#include "widgets/LegendDot.hpp"
#include "widgets/PageHeader.hpp"
#include "widgets/PrimaryButton.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/SegmentedBar.hpp"
#include "widgets/SizeCell.hpp"
#include "widgets/StatTile.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/SymbolLabel.hpp"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <QtTest>

#include <limits>

namespace dorvale {

namespace {

const QString longName = QStringLiteral(
    "Holiday recordings from the summer in the mountains, edited and exported again.mov");

std::vector<Segment> composition() {
    return {
        {QStringLiteral("applications"), QStringLiteral("Applications"), 42'000'000'000,
         Theme::bucketColor(StorageBucket::Applications)},
        {QStringLiteral("video"), QStringLiteral("Video"), 120'000'000'000,
         Theme::bucketColor(StorageBucket::Video)},
        {QStringLiteral("developer"), QStringLiteral("Developer"), 64'000'000'000,
         Theme::bucketColor(StorageBucket::Developer)},
        {QStringLiteral("junk"), QStringLiteral("Caches & Temporary Files"), 9'000'000'000,
         Theme::bucketColor(StorageBucket::Junk)},
        {QStringLiteral("tiny"), QStringLiteral("Trash"), 1'000,
         Theme::bucketColor(StorageBucket::Trash)},
    };
}

QWidget* header() {
    auto* header = new PageHeader(
        QStringLiteral("Overview of everything that takes up space on this disk"),
        QStringLiteral("Scanned Home folder · 812,345 files in 93,210 folders, 4 minutes ago"));
    auto* rescan = new PrimaryButton(QStringLiteral("Rescan"));
    rescan->setSymbol(QStringLiteral("arrow.clockwise"));
    header->addTrailingWidget(rescan);
    header->addTrailingWidget(new DestructiveButton(QStringLiteral("Delete 3 Items")));
    return header;
}

QWidget* tiles() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    layout->addWidget(new StatTile(QStringLiteral("Used"), QStringLiteral("412.35 GB"),
                                   QStringLiteral("of 494.38 GB · 83%"),
                                   QStringLiteral("internaldrive.fill"), Theme::accent()));
    layout->addWidget(new StatTile(QStringLiteral("Free"), QStringLiteral("82.03 GB"),
                                   QStringLiteral("Available right now"),
                                   QStringLiteral("checkmark.circle.fill"), Theme::safe()));
    layout->addWidget(new StatTile(
        QStringLiteral("Purgeable"), QStringLiteral("Zero KB"),
        QStringLiteral("macOS frees this on its own when needed (iCloud copies, caches)"),
        QStringLiteral("icloud.and.arrow.down.fill"), Theme::accentSecondary()));
    layout->addWidget(new StatTile(QStringLiteral("Scanned"), QStringLiteral("1,234.56 TB"),
                                   std::nullopt, QStringLiteral("magnifyingglass"),
                                   Theme::caution()));
    return row;
}

QWidget* legend(const std::vector<Segment>& segments) {
    auto* legend = new QWidget;
    auto* layout = new QHBoxLayout(legend);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const Segment& segment : segments) {
        layout->addWidget(new LegendDot(segment.color));
        auto* label = new ElidedLabel(segment.title);
        label->setTextStyle(TextStyle::Caption);
        label->setTone(Tone::Secondary);
        layout->addWidget(label, 1);
    }
    return legend;
}

QWidget* compositionCard() {
    auto* card = new Card(16);
    auto* title = new ElidedLabel(QStringLiteral("Where your space goes"));
    title->setTextStyle(TextStyle::Headline);
    card->contentLayout()->addWidget(title);
    card->contentLayout()->addWidget(new SegmentedBar(composition(), 250'000'000'000, 14));
    card->contentLayout()->addWidget(legend(composition()));
    card->contentLayout()->addWidget(new SegmentedBar(composition(), 0, 8));
    return card;
}

QWidget* fileRow(const std::string& path, const QString& name, std::int64_t size, double fraction,
                 Risk risk, BadgeForm form) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(new FileIcon(path, 20));
    auto* label = new ElidedLabel(name);
    label->setElideMode(Qt::ElideMiddle);
    layout->addWidget(label, 3);
    layout->addWidget(new SizeCell(size, fraction, Theme::kindColor(FileKind::Video)), 2);
    layout->addWidget(new RiskBadge(risk, form));
    return row;
}

QWidget* filesCard() {
    auto* card = new Card(16);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    card->contentLayout()->addWidget(fileRow("/home/me/Movies/holiday.mov", longName,
                                             48'000'000'000, 1.0, Risk::Safe, BadgeForm::Full));
    card->contentLayout()->addWidget(fileRow("/home/me/Projects", QStringLiteral("Projects"),
                                             12'500'000'000, 0.26, Risk::Review, BadgeForm::Full));
    card->contentLayout()->addWidget(fileRow("/home/me/Archive.zip", QStringLiteral("Archive.zip"),
                                             -5, 0, Risk::Protected, BadgeForm::Full));
    card->contentLayout()->addWidget(fileRow("/home/me/empty.txt", QStringLiteral("empty.txt"), 0,
                                             nan, Risk::Review, BadgeForm::Compact));
    card->contentLayout()->addWidget(fileRow("/etc/passwd", QStringLiteral("passwd"), 4'000, 1.7,
                                             Risk::Protected, BadgeForm::Compact));
    return card;
}

QWidget* labelsAndButtons() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* granted =
        new SymbolLabel(QStringLiteral("checkmark.circle.fill"), QStringLiteral("Granted"));
    granted->setIconColor(Theme::safe());
    layout->addWidget(granted);
    layout->addWidget(new SymbolLabel(QStringLiteral("lock.fill"), QStringLiteral("Protected"),
                                      LabelStyle::IconOnly));
    layout->addStretch(1);
    auto* clean = new PrimaryButton(QStringLiteral("Clean 2.4 GB"), ButtonSize::Large);
    clean->setSymbol(QStringLiteral("sparkles"));
    layout->addWidget(clean);
    auto* disabled = new PrimaryButton(QStringLiteral("Clean Zero KB"));
    disabled->setEnabled(false);
    layout->addWidget(disabled);
    auto* disabledDelete = new DestructiveButton(QStringLiteral("Delete"));
    disabledDelete->setEnabled(false);
    layout->addWidget(disabledDelete);
    return row;
}

// Every component on the page background, as the overview and the lists will use them.
std::unique_ptr<QWidget> componentsPage() {
    auto page = std::make_unique<AmbientBackground>();
    auto* layout = new QVBoxLayout(page.get());
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);
    layout->addWidget(header());
    layout->addWidget(tiles());
    layout->addWidget(compositionCard());
    layout->addWidget(filesCard());
    layout->addWidget(labelsAndButtons());
    auto* empty = new Card(16);
    empty->contentLayout()->addWidget(new EmptyState(
        QStringLiteral("doc.on.doc"), QStringLiteral("Click “Find Duplicates” to get started.")));
    layout->addWidget(empty, 1);
    return page;
}

// Every symbol as the theme draws it and as the bundled drawing, side by side.
std::unique_ptr<QWidget> symbolsPage() {
    auto page = std::make_unique<QWidget>();
    page->setAutoFillBackground(true);
    auto* layout = new QGridLayout(page.get());
    const QStringList names = Symbols::names();
    constexpr int columns = 4;
    for (qsizetype index = 0; index < names.size(); ++index) {
        const int row = static_cast<int>(index / columns);
        const int column = static_cast<int>(index % columns) * 3;
        auto* themed = new SymbolIcon(names[index], 20);
        themed->setColor(Theme::accent());
        layout->addWidget(themed, row, column);
        auto* drawn = new QLabel;
        drawn->setPixmap(
            Symbols::tinted(QIcon(Symbols::fallbackPath(names[index])), 20, Theme::danger()));
        layout->addWidget(drawn, row, column + 1);
        auto* name = new ElidedLabel(names[index]);
        name->setTextStyle(TextStyle::Caption);
        layout->addWidget(name, row, column + 2);
    }
    return page;
}

// A dark desktop palette: the components take their text and panel colours from it.
QPalette darkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x24, 0x24, 0x28));
    palette.setColor(QPalette::Base, QColor(0x30, 0x30, 0x36));
    palette.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xF0));
    palette.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xF0));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x88));
    return palette;
}

} // namespace

// Builds every shared component offscreen with sample values, long names and empty states,
// at a narrow and a wide size. Any Qt warning fails it. With DORVALE_GALLERY_DIR set, the
// pictures are written there to be looked at.
class ComponentsGalleryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    void components_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("dark");
        QTest::newRow("narrow") << QSize(420, 900) << false;
        QTest::newRow("wide") << QSize(1180, 900) << false;
        QTest::newRow("wide, dark") << QSize(1180, 900) << true;
    }

    // Nothing is cut at any width, and every label that had to shorten its text shows the
    // whole of it as its tool tip (the long file name does at the narrow width).
    void components() {
        QFETCH(QSize, size);
        QFETCH(bool, dark);
        std::unique_ptr<QWidget> page = componentsPage();
        if (dark) {
            page->setPalette(darkPalette());
        }
        const auto window = show(std::move(page), size);
        test::savePicture(pageOf(*window),
                          QStringLiteral("components-%1")
                              .arg(QString::fromLatin1(QTest::currentDataTag())
                                       .replace(QStringLiteral(", "), QStringLiteral("-"))));
        QCOMPARE(test::clippedWidgets(*window).join(QStringLiteral("; ")), QString());
        int elided = 0;
        for (ElidedLabel* label : window->findChildren<ElidedLabel*>()) {
            elided += label->isElided() ? 1 : 0;
            QCOMPARE(test::hoverToolTip(*label), label->isElided() ? label->text() : QString());
        }
        if (size.width() < 600) {
            QVERIFY(elided > 0);
        }
    }

    void symbols() {
        const auto window = show(symbolsPage(), QSize(900, 560));
        test::savePicture(pageOf(*window), QStringLiteral("symbols"));
        QCOMPARE(test::clippedWidgets(*window).join(QStringLiteral("; ")), QString());
    }

    // Each ring, large and small, empty to over full, draws within its circle: the corners of
    // its square stay the page's colour.
    void diskRings() {
        auto window = std::make_unique<QWidget>();
        window->resize(4 * 270 + 20, 360);
        const qint64 shares[] = {0, 50, 100, 130};
        int x = 10;
        for (const qint64 used : shares) {
            auto* large = new DiskRing(window.get());
            large->setGeometry(x, 10, 250, 250);
            large->setUsage(used, 100);
            auto* small = new DiskRing(window.get());
            small->setGeometry(x + 98, 280, 54, 54);
            small->setUsage(used, 100);
            x += 270;
        }
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        test::finishAnimations(*window);
        const QImage picture = test::savePicture(*window, QStringLiteral("disk-rings")).toImage();
        const QRgb page = picture.pixel(0, 0);
        for (const DiskRing* ring : window->findChildren<DiskRing*>()) {
            const QRect square = ring->geometry().adjusted(1, 1, -2, -2);
            for (const QPoint corner :
                 {square.topLeft(), square.topRight(), square.bottomLeft(), square.bottomRight()}) {
                QCOMPARE(picture.pixel(corner), page);
            }
        }
    }

private:
    // The page sits in a plain window without a layout: a window with one hands its size
    // limits to the platform, which the offscreen platform answers with a warning.
    static std::unique_ptr<QWidget> show(std::unique_ptr<QWidget> page, const QSize& size) {
        auto window = std::make_unique<QWidget>();
        // The window takes the page over.
        QWidget* shown = page.release();
        shown->setParent(window.get());
        // Never below the page's minimum, which a real window enforces.
        const QSize minimum = shown->minimumSizeHint();
        shown->setGeometry(0, 0, std::max(size.width(), minimum.width()),
                           std::max({size.height(), minimum.height(), shown->sizeHint().height()}));
        window->resize(shown->size());
        window->show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(window.get());
        return window;
    }

    static QWidget& pageOf(QWidget& window) {
        return *window.findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    }
};

DORVALE_QT_TEST(ComponentsGalleryTest)

} // namespace dorvale

#include "ComponentsGalleryTest.moc"
