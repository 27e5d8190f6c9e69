#include "shell/sheets/AccessOnboardingView.hpp"

#include "app/AppState.hpp"
#include "style/Theme.hpp"
#include "widgets/Card.hpp"
#include "widgets/Centred.hpp"
#include "widgets/Emblem.hpp"
#include "widgets/PrimaryButton.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int sheetWidth = 540;
constexpr int textWidth = 440;
constexpr int stepBadgeSize = 24;

// A step's number in white on a small disc of the accent gradient.
class StepNumber : public QWidget {
public:
    explicit StepNumber(int number)
        : m_number(QString::number(number)) {
        setFixedSize(stepBadgeSize, stepBadgeSize);
        Typography::apply(*this, TextStyle::Callout, FontWeight::Bold);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF disc(rect());
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::accentGradient(disc));
        painter.drawEllipse(disc);
        painter.setPen(Theme::onFill());
        painter.drawText(disc, Qt::AlignCenter, m_number);
    }

private:
    QString m_number;
};

QWidget* stepRow(int number, const QString& markdown) {
    auto* text = new QLabel(markdown);
    text->setTextFormat(Qt::MarkdownText);
    text->setWordWrap(true);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::medium);
    layout->addWidget(new StepNumber(number), 0, Qt::AlignVCenter);
    layout->addWidget(text, 1, Qt::AlignVCenter);
    return row;
}

QWidget* privacyNote(const QString& text) {
    auto* label = new QLabel(text);
    Typography::apply(*label, TextStyle::Callout);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Theme::safe());
    label->setPalette(palette);
    auto* icon = new SymbolIcon(QStringLiteral("lock.shield.fill"), label->fontMetrics().height());
    icon->setColor(Theme::safe());
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::snug);
    layout->addStretch();
    layout->addWidget(icon, 0, Qt::AlignVCenter);
    layout->addWidget(label, 0, Qt::AlignVCenter);
    layout->addStretch();
    return row;
}

} // namespace

AccessOnboardingView::AccessOnboardingView(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state) {
    setObjectName(QStringLiteral("accessOnboarding"));
    const QString heading = tr("Let Dorvale see your whole disk");
    setWindowTitle(heading);
    setFixedWidth(sheetWidth);

    auto* title = new WrappingLabel(heading);
    title->setTextStyle(TextStyle::Title, FontWeight::Bold);
    title->setAlignment(Qt::AlignHCenter);
    auto* message = new WrappingLabel(
        tr("macOS protects folders like Mail, Messages, Safari and app data. Without this "
           "permission sizes are incomplete and macOS will ask you folder by folder."));
    message->setTone(Tone::Secondary);
    message->setAlignment(Qt::AlignHCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(Theme::Space::snug);
    texts->addWidget(title);
    texts->addWidget(centredAtMost(message, textWidth));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Theme::Space::page, Theme::Space::page, Theme::Space::page,
                               Theme::Space::page);
    layout->setSpacing(Theme::Space::page);
    layout->addWidget(new Emblem(QStringLiteral("externaldrive.fill.badge.checkmark"),
                                 Emblem::Look::FilledSquare),
                      0, Qt::AlignHCenter);
    layout->addLayout(texts);
    layout->addWidget(makeSteps());
    layout->addWidget(privacyNote(tr("Dorvale only reads names and sizes. Nothing leaves your "
                                     "Mac.")));
    layout->addLayout(makeButtons());
    // A window is sized by its layout's hints, not by the height its wrapped texts need at its
    // width; the sheet takes exactly that height.
    setFixedHeight(heightForWidth(sheetWidth));
}

QWidget* AccessOnboardingView::makeSteps() const {
    auto* card = new Card;
    card->contentLayout()->setSpacing(Theme::Space::medium);
    card->contentLayout()->addWidget(stepRow(1, tr("Click “Open Settings”.")));
    card->contentLayout()->addWidget(
        stepRow(2, tr("Under “Full Disk Access”, turn on **Dorvale** (or add it with +).")));
    card->contentLayout()->addWidget(stepRow(3, tr("If macOS asks, choose “Quit & Reopen”.")));
    return card;
}

QLayout* AccessOnboardingView::makeButtons() {
    auto* skip = new QPushButton(tr("Scan Without Access"));
    skip->setObjectName(QStringLiteral("scanWithoutAccessButton"));
    skip->setAutoDefault(false);
    connect(skip, &QPushButton::clicked, this, &AccessOnboardingView::scanWithoutAccess);
    auto* open = new PrimaryButton(tr("Open Settings"));
    open->setObjectName(QStringLiteral("openSettingsButton"));
    open->setDefault(true);
    connect(open, &QPushButton::clicked, this,
            [this] { m_state.services().openPrivacySettings(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(skip, 0, Qt::AlignVCenter);
    buttons->addStretch();
    buttons->addWidget(open, 0, Qt::AlignVCenter);
    return buttons;
}

// The skip is stored before anything else, so the scan started last is not turned back into
// this sheet.
void AccessOnboardingView::scanWithoutAccess() {
    m_state.setAccessOnboardingSkipped(true);
    accept();
    m_state.startScan();
}

} // namespace dorvale
