#include "cleanup/AppsModel.hpp"

#include "app/ByteText.hpp"
#include "cleanup/RunningApps.hpp"
#include "cleanup/TextRanks.hpp"
#include "platform/Formatters.hpp"
#include "style/FileIcon.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/ListRoles.hpp"

#include <QStringList>

#include <algorithm>

namespace dorvale {

namespace {

QString utf8(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<SortedRowsModel::Column> columns() {
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    return {
        {AppsModel::tr("App")},
        {AppsModel::tr("Total")},
        {AppsModel::tr("App"), true, right},
        {AppsModel::tr("Data"), true, right},
        {AppsModel::tr("Last Used")},
    };
}

} // namespace

AppsModel::AppsModel(const Clock& clock, const RunningApps& running, QObject* parent)
    : KeyedRowsModel(columns(), parent)
    , m_clock(clock)
    , m_running(running) {
    SortedRowsModel::sort(Total, Qt::DescendingOrder);
    connect(&running, &RunningApps::changed, this, &AppsModel::runningChanged);
}

void AppsModel::setApps(std::vector<InstalledApp> apps) {
    m_largest = 1;
    for (const InstalledApp& app : apps) {
        m_largest = std::max(m_largest, app.totalSize());
    }
    m_icons.assign(apps.size(), std::nullopt);
    setRows(std::move(apps));
}

QString AppsModel::caption(const InstalledApp& app) {
    // The parts are shown as they are, not translated.
    QStringList parts;
    if (app.version) {
        parts << QStringLiteral("v") + utf8(*app.version);
    }
    if (app.isAppStore) {
        parts << QStringLiteral("App Store");
    }
    if (app.isApple) {
        parts << QStringLiteral("Apple");
    }
    return parts.join(QStringLiteral(" · "));
}

std::vector<std::int64_t> AppsModel::sortKeys(int column) const {
    const std::vector<InstalledApp>& apps = rows();
    std::vector<std::int64_t> keys(apps.size());
    const auto fill = [&](auto key) {
        std::transform(apps.begin(), apps.end(), keys.begin(), key);
    };
    switch (column) {
    case Name:
        return textRanks(apps, &InstalledApp::name);
    case Total:
        fill([](const InstalledApp& app) { return app.totalSize(); });
        break;
    case AppSize:
        fill([](const InstalledApp& app) { return app.appSize; });
        break;
    case Data:
        fill([](const InstalledApp& app) { return app.relatedSize(); });
        break;
    case LastUsed:
        fill([](const InstalledApp& app) {
            return static_cast<std::int64_t>(app.lastUsedSortDate() * 1000);
        });
        break;
    default:
        break;
    }
    return keys;
}

QVariant AppsModel::cellData(std::size_t source, int column, int role) const {
    const InstalledApp& app = this->source(source);
    switch (column) {
    case Name:
        return nameData(app, source, role);
    case Total:
        switch (role) {
        case Qt::DisplayRole:
            return byteText(app.totalSize());
        case SizeRole:
            return qint64{app.totalSize()};
        case LargestSizeRole:
            return qint64{m_largest};
        case BarColorRole:
            return Theme::blue();
        default:
            return {};
        }
    case AppSize:
        return role == Qt::DisplayRole ? QVariant(byteText(app.appSize)) : QVariant();
    case Data:
        return dataData(app, role);
    case LastUsed:
        return lastUsedData(app, role);
    default:
        return {};
    }
}

QVariant AppsModel::nameData(const InstalledApp& app, std::size_t source, int role) const {
    switch (role) {
    case Qt::DisplayRole:
        return utf8(app.name);
    case Qt::DecorationRole: {
        std::optional<QIcon>& icon = m_icons[source];
        if (!icon) {
            icon = FileIcon::icon(app.path, FileIcon::Kind::Folder);
        }
        return *icon;
    }
    case Qt::FontRole:
        return Typography::font(TextStyle::Body, FontWeight::Medium);
    case DetailRole:
        return caption(app);
    case MarkColorRole:
        return m_running.isRunning(app.bundleID) ? QVariant(Theme::safe()) : QVariant();
    case Qt::ToolTipRole:
        return m_running.isRunning(app.bundleID) ? QVariant(tr("Running")) : QVariant();
    default:
        return {};
    }
}

// "—" without data; orange where the data outweigh the bundle.
QVariant AppsModel::dataData(const InstalledApp& app, int role) const {
    const std::int64_t related = app.relatedSize();
    switch (role) {
    case Qt::DisplayRole:
        return related < 1 ? QStringLiteral("—") : byteText(related);
    case Qt::ForegroundRole:
        return related > app.appSize ? QVariant(Theme::caution()) : QVariant();
    default:
        return {};
    }
}

QVariant AppsModel::lastUsedData(const InstalledApp& app, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    return app.lastUsed ? utf8(relativeText(*app.lastUsed, m_clock)) : tr("Never / unknown");
}

void AppsModel::runningChanged() {
    if (rowCount() > 0) {
        emit dataChanged(index(0, Name), index(rowCount() - 1, Name));
    }
}

} // namespace dorvale
