#include "cleanup/LoginItemRow.hpp"

#include "cleanup/LoginItemsModel.hpp"
#include "style/FileIcon.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/SymbolIcon.hpp"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int iconSize = 28;
constexpr int gearSize = 22;
constexpr qreal tagFillOpacity = 0.15;

// Inside a list a label draws in the list's text colour rather than the window's, so both
// are set.
void paintTextIn(QLabel& label, const QColor& color) {
    QPalette colours = label.palette();
    colours.setColor(QPalette::WindowText, color);
    colours.setColor(QPalette::Text, color);
    label.setPalette(colours);
}

// A short word in a tint on a capsule of the same tint, faintly.
class CapsuleTag final : public QLabel {
public:
    CapsuleTag(const QString& text, const QColor& tint)
        : QLabel(text)
        , m_tint(tint) {
        Typography::apply(*this, TextStyle::Caption2, FontWeight::Bold);
        setContentsMargins(Theme::Space::snug, 1, Theme::Space::snug, 1);
        paintTextIn(*this, tint);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::withOpacity(m_tint, tagFillOpacity));
        const qreal radius = height() / 2.0;
        painter.drawRoundedRect(QRectF(rect()), radius, radius);
        painter.end();
        QLabel::paintEvent(event);
    }

private:
    QColor m_tint;
};

ElidedLabel* note(const QString& text, const char* name) {
    auto* label = new ElidedLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextStyle(TextStyle::Caption2);
    label->setTone(Tone::Secondary);
    label->setElideMode(Qt::ElideNone);
    return label;
}

} // namespace

LoginItemRow::LoginItemRow(const LaunchItem& item, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("loginItemRow"));
    auto* label = new QLabel(QString::fromStdString(item.label));
    label->setObjectName(QStringLiteral("labelText"));
    Typography::apply(*label, TextStyle::Caption);
    paintTextIn(*label, Theme::foreground(*label, Tone::Secondary));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setCursor(Qt::IBeamCursor);

    auto* text = new QVBoxLayout;
    text->setSpacing(Theme::Space::hairline);
    text->addWidget(makeTitleLine(item));
    text->addWidget(label);
    if (item.program) {
        auto* program =
            new ElidedLabel(QFile::decodeName(QByteArray::fromStdString(*item.program)));
        program->setObjectName(QStringLiteral("programText"));
        program->setTextStyle(TextStyle::Caption2);
        program->setTone(Tone::Tertiary);
        program->setElideMode(Qt::ElideMiddle);
        text->addWidget(program);
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(Theme::Space::small, Theme::Space::tight, Theme::Space::medium,
                               Theme::Space::tight);
    layout->setSpacing(Theme::Space::medium);
    layout->addWidget(makeIcon(item));
    layout->addLayout(text, 1);
    layout->addWidget(makeTrailing(item));
}

bool LoginItemRow::isProtected(const LaunchItem& item) {
    return item.label.starts_with("com.apple.");
}

QWidget* LoginItemRow::makeIcon(const LaunchItem& item) {
    if (item.ownerPath) {
        auto* icon = new FileIcon(*item.ownerPath, iconSize);
        icon->setObjectName(QStringLiteral("ownerIcon"));
        return icon;
    }
    auto* gear = new SymbolIcon(QStringLiteral("gearshape.fill"), gearSize);
    gear->setObjectName(QStringLiteral("gearIcon"));
    gear->setTone(Tone::Secondary);
    gear->setFixedWidth(iconSize);
    return gear;
}

QWidget* LoginItemRow::makeTitleLine(const LaunchItem& item) {
    auto* line = new QWidget;
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::snug);
    auto* title = new ElidedLabel(LoginItemsModel::title(item));
    title->setObjectName(QStringLiteral("titleText"));
    title->setTextStyle(TextStyle::Body, FontWeight::Medium);
    layout->addWidget(title, 0);
    if (item.isOrphan) {
        auto* orphan = new CapsuleTag(tr("App removed"), Theme::caution());
        orphan->setObjectName(QStringLiteral("orphanBadge"));
        layout->addWidget(orphan);
    }
    if (item.disabled) {
        layout->addWidget(note(tr("Switched off"), "switchedOffText"));
    }
    if (item.runAtLoad) {
        layout->addWidget(note(tr("At login"), "atLoginText"));
    }
    if (item.keepAlive) {
        layout->addWidget(note(tr("Always running"), "alwaysRunningText"));
    }
    layout->addStretch(1);
    return line;
}

QWidget* LoginItemRow::makeTrailing(const LaunchItem& item) {
    auto* trailing = new QWidget;
    auto* layout = new QHBoxLayout(trailing);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::small);
    auto* reveal = new IconButton(QStringLiteral("magnifyingglass"), tr("Show in Finder"));
    reveal->setObjectName(QStringLiteral("revealButton"));
    reveal->setAutoRaise(true);
    connect(reveal, &QAbstractButton::clicked, this, &LoginItemRow::revealClicked);
    layout->addWidget(reveal);
    if (isProtected(item)) {
        auto* badge = new RiskBadge(Risk::Protected, BadgeForm::Full);
        badge->setObjectName(QStringLiteral("protectedBadge"));
        layout->addWidget(badge);
        return trailing;
    }
    m_remove = new QPushButton(item.needsAdministrator() ? tr("Remove…") : tr("Remove"));
    m_remove->setObjectName(QStringLiteral("removeButton"));
    m_remove->setAutoDefault(false);
    connect(m_remove, &QPushButton::clicked, this, &LoginItemRow::removeClicked);
    layout->addWidget(m_remove);
    return trailing;
}

} // namespace dorvale
