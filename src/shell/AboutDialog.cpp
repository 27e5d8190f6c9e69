#include "shell/AboutDialog.hpp"

#include "shell/DorvaleApp.hpp"
#include "style/Theme.hpp"
#include "widgets/ElidedLabel.hpp"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int iconSize = 96;

ElidedLabel* line(const QString& text, const char* name, TextStyle style, Tone tone) {
    auto* label = new ElidedLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setElideMode(Qt::ElideNone);
    label->setTextStyle(style);
    label->setTone(tone);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(tr("About Dorvale"));
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(DorvaleApp::icon().pixmap(QSize(iconSize, iconSize), devicePixelRatioF()));
    icon->setAlignment(Qt::AlignHCenter);
    icon->setAccessibleName(tr("Dorvale icon"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Theme::Space::page, Theme::Space::page, Theme::Space::page,
                               Theme::Space::large);
    layout->setSpacing(Theme::Space::small);
    layout->addWidget(icon);
    layout->addWidget(
        line(QStringLiteral("Dorvale"), "aboutName", TextStyle::Title2, Tone::Primary));
    layout->addWidget(line(tr("Version %1").arg(QCoreApplication::applicationVersion()),
                           "aboutVersion", TextStyle::Caption, Tone::Secondary));
    layout->addSpacing(Theme::Space::small);
    layout->addWidget(
        line(tr("Shows where your disk space goes and helps you take it back safely."),
             "aboutPurpose", TextStyle::Body, Tone::Primary));
    layout->addSpacing(Theme::Space::medium);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace dorvale
