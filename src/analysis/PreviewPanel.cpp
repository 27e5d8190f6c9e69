#include "analysis/PreviewPanel.hpp"

#include "app/ByteText.hpp"
#include "app/PathText.hpp"
#include "app/RunInBackground.hpp"
#include "platform/Descriptor.hpp"
#include "platform/Paths.hpp"
#include "style/FileIcon.hpp"
#include "style/Theme.hpp"
#include "widgets/ElidedLabel.hpp"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QStringDecoder>
#include <QVBoxLayout>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvale {

namespace {

// Larger images are not read whole into memory for a preview; they show as an icon.
constexpr qint64 imageLimit = 64 * 1024 * 1024;
constexpr int iconSide = 96;
const QSize imageBox(640, 480);

QByteArray readUpTo(int fd, qint64 limit) {
    QByteArray bytes;
    char buffer[65536];
    while (bytes.size() < limit) {
        const auto want =
            static_cast<size_t>(std::min<qint64>(sizeof buffer, limit - bytes.size()));
        const ssize_t got = ::read(fd, buffer, want);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        bytes.append(buffer, got);
    }
    return bytes;
}

// The text of `bytes` as UTF-8, without a sequence cut at the end of the read.
QString textOf(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    return decoder.decode(bytes);
}

} // namespace

PreviewPanel::Contents PreviewPanel::read(const std::string& path, bool isDirectory, QSize box) {
    Contents contents;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return contents;
    }
    contents.available = true;
    if (isDirectory || !S_ISREG(info.st_mode)) {
        return contents;
    }
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid()) {
        return contents;
    }
    const QByteArray head = readUpTo(file.get(), textLimit);
    const std::string_view name = lastComponent(path);
    const QMimeType mime = QMimeDatabase().mimeTypeForFileNameAndData(
        QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size()))), head);
    if (mime.name().startsWith(QLatin1String("image/")) && info.st_size <= imageLimit) {
        QByteArray whole = head + readUpTo(file.get(), imageLimit - head.size());
        QBuffer buffer(&whole);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        const QSize natural = reader.size();
        if (natural.isValid() &&
            (natural.width() > box.width() || natural.height() > box.height())) {
            reader.setScaledSize(natural.scaled(box, Qt::KeepAspectRatio));
        }
        contents.image = reader.read();
    } else if (mime.inherits(QStringLiteral("text/plain"))) {
        contents.text = textOf(head);
    }
    return contents;
}

PreviewPanel::PreviewPanel(PreviewBinding& binding, QWidget* parent)
    : QDialog(parent)
    , m_binding(binding)
    , m_pages(new QStackedWidget)
    , m_image(new QLabel)
    , m_text(new QPlainTextEdit)
    , m_icon(new FileIcon({}, iconSide))
    , m_name(new ElidedLabel)
    , m_detail(new ElidedLabel) {
    setObjectName(QStringLiteral("previewPanel"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_image->setAlignment(Qt::AlignCenter);
    m_image->setObjectName(QStringLiteral("previewImage"));
    m_text->setReadOnly(true);
    m_text->setObjectName(QStringLiteral("previewText"));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_name->setObjectName(QStringLiteral("previewName"));
    m_name->setElideMode(Qt::ElideMiddle);
    m_name->setTextStyle(TextStyle::Headline);
    m_detail->setObjectName(QStringLiteral("previewDetail"));
    m_detail->setTone(Tone::Secondary);
    auto* summary = new QWidget;
    auto* summaryLayout = new QVBoxLayout(summary);
    summaryLayout->addStretch();
    summaryLayout->addWidget(m_icon, 0, Qt::AlignHCenter);
    summaryLayout->addStretch();
    m_pages->addWidget(summary);
    m_pages->addWidget(m_image);
    m_pages->addWidget(m_text);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Theme::Space::large, Theme::Space::large, Theme::Space::large,
                               Theme::Space::large);
    layout->setSpacing(Theme::Space::medium);
    layout->addWidget(m_pages, 1);
    layout->addWidget(m_name);
    layout->addWidget(m_detail);
    resize(imageBox + QSize(2 * Theme::Space::large, 120));
    connect(&m_binding, &PreviewBinding::changed, this, &PreviewPanel::follow);
    follow();
}

void PreviewPanel::follow() {
    const std::optional<PreviewItem>& item = m_binding.item();
    if (!item) {
        ++m_generation;
        hide();
        return;
    }
    load(*item);
    QDialog::show();
    raise();
}

void PreviewPanel::load(const PreviewItem& item) {
    const std::uint64_t generation = ++m_generation;
    setWindowTitle(pathText(lastComponent(item.path)));
    showSummary(item, true);
    runInBackground(
        this,
        [path = item.path, directory = item.isDirectory] {
            return read(path, directory, imageBox);
        },
        [this, item, generation](const Contents& contents) {
            if (generation == m_generation) {
                present(item, contents);
            }
        });
}

void PreviewPanel::present(const PreviewItem& item, const Contents& contents) {
    showSummary(item, contents.available);
    if (!contents.image.isNull()) {
        m_image->setPixmap(QPixmap::fromImage(contents.image));
        m_pages->setCurrentWidget(m_image);
    } else if (!contents.text.isNull()) {
        m_text->setPlainText(contents.text);
        m_pages->setCurrentWidget(m_text);
    }
    emit contentsShown();
}

void PreviewPanel::showSummary(const PreviewItem& item, bool available) {
    m_pages->setCurrentIndex(0);
    m_icon->setPath(item.path);
    m_name->setText(pathText(lastComponent(item.path)));
    if (!available) {
        m_detail->setText(tr("This item is no longer available."));
        return;
    }
    const QString kind = item.isDirectory
                             ? tr("%1 files").arg(QLocale().toString(qint64{item.fileCount}))
                             : item.kindTitle;
    m_detail->setText(tr("%1 · %2").arg(byteText(item.size), kind));
}

void PreviewPanel::done(int result) {
    QDialog::done(result);
    if (m_binding.item()) {
        m_binding.set(std::nullopt);
    }
}

PreviewPresenter previewPanelPresenter() {
    return [](PreviewBinding& binding, QWidget& page) {
        // The panel is a child of the page, so it goes with it.
        auto* panel = new PreviewPanel(binding, &page);
        panel->setWindowFlag(Qt::Window);
    };
}

} // namespace dorvale
