#include "analysis/PreviewPanel.hpp"

#include "support/FixtureTree.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"

#include <QImage>
#include <QSignalSpy>
#include <QtTest>

namespace dorvale {

class PreviewPanelTest : public QObject {
    Q_OBJECT

private slots:
    void readsImagesTextAndNothingElse() {
        test::FixtureTree tree;
        QImage picture(1200, 600, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(QString::fromStdString(tree.path("wide.png"))));
        tree.file("notes.txt", std::string(100 * 1024, 'x'));
        tree.file("blob.bin", std::string("\x00\x01\x02\xff", 4));
        tree.fifo("pipe");
        tree.folder("folder");
        const QSize box(640, 480);

        const auto image = PreviewPanel::read(tree.path("wide.png"), false, box);
        QVERIFY(image.available);
        QCOMPARE(image.image.size(), QSize(640, 320));
        const auto text = PreviewPanel::read(tree.path("notes.txt"), false, box);
        QCOMPARE(text.text.size(), PreviewPanel::textLimit);
        const auto binary = PreviewPanel::read(tree.path("blob.bin"), false, box);
        QVERIFY(binary.available && binary.image.isNull() && binary.text.isNull());
        // A pipe is never opened for reading: that would wait for a writer.
        const auto pipe = PreviewPanel::read(tree.path("pipe"), false, box);
        QVERIFY(pipe.available && pipe.text.isNull());
        QVERIFY(PreviewPanel::read(tree.path("folder"), true, box).available);
        QVERIFY(!PreviewPanel::read(tree.path("gone"), false, box).available);
    }

    void followsItsBindingAndClearsItWhenClosed() {
        test::FixtureTree tree;
        tree.file("notes.txt", "hello");
        PreviewBinding binding;
        QWidget page;
        PreviewPanel panel(binding, &page);
        QSignalSpy shown(&panel, &PreviewPanel::contentsShown);
        binding.set(PreviewItem{tree.path("gone.txt"), false, 4096, 0, QStringLiteral("Code")});
        QVERIFY(panel.isVisible());
        QVERIFY(shown.wait());
        const auto* detail = panel.findChild<ElidedLabel*>(QStringLiteral("previewDetail"));
        QCOMPARE(detail->text(), "This item is no longer available.");

        binding.toggle(PreviewItem{tree.path("notes.txt"), false, 4096, 0, {}});
        QVERIFY(!binding.item());
        QVERIFY(!panel.isVisible());
        binding.toggle(PreviewItem{tree.path("notes.txt"), false, 4096, 0, QStringLiteral("Code")});
        QVERIFY(shown.wait());
        QCOMPARE(detail->text(), "4 KB · Code");
        panel.reject();
        QVERIFY(!binding.item());
    }
};

DORVALE_QT_TEST(PreviewPanelTest)

} // namespace dorvale

#include "PreviewPanelTest.moc"
