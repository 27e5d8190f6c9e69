#pragma once

#include "model/FileFilter.hpp"
#include "platform/Locations.hpp"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace dorvale {

class ElidedLabel;
class IconButton;
class KindChip;

/// The two rows of controls above a files table that edit a screen's `FileFilter`: the name
/// or path search, the size, age and category menus and the kind chips in the first place,
/// then the path prefix (shown and cleared, never set here), the screen's result summary and
/// the "CSV" export button. The bar holds no filter: each control reads the bound filter,
/// changes its own field and writes it back at once; `sync` shows the bound filter again.
class FilterBar : public QWidget {
    Q_OBJECT

public:
    /// An entry of the size menu: its label and the least size it selects.
    struct SizeOption {
        QString label;
        std::int64_t bytes = 0;
    };
    /// An entry of the age menu: its label and the days unchanged it selects (none: any age).
    struct AgeOption {
        QString label;
        std::optional<int> days;
    };
    /// Reads and writes the screen's filter.
    struct Binding {
        std::function<FileFilter()> read;
        std::function<void(FileFilter)> write;
    };
    struct Options {
        bool showKinds = true;
        bool showBucket = true;
        bool showExport = true;
        std::vector<SizeOption> sizeOptions;
        std::vector<AgeOption> ageOptions;
    };

    FilterBar(Binding binding, Options options, const Locations& locations,
              QWidget* parent = nullptr);

    /// The size menu of the file lists, "Any size" to "> 5 GB".
    [[nodiscard]] static std::vector<SizeOption> fileSizeOptions();
    /// The age menu of the file lists, "Any date" to "> 2 years".
    [[nodiscard]] static std::vector<AgeOption> fileAgeOptions();

    /// Shows the bound filter in every control, without writing it back.
    void sync();
    /// Shows the screen's result: `count` files of `size` bytes.
    void setResult(std::int64_t count, std::int64_t size);

signals:
    /// The export button was pressed.
    void exportRequested();

private:
    [[nodiscard]] QWidget* makeFirstRow();
    [[nodiscard]] QWidget* makeSecondRow();
    [[nodiscard]] QWidget* makeSearchField();
    [[nodiscard]] QWidget* makeKindChips();
    [[nodiscard]] QWidget* makePathChip();
    void edit(const std::function<void(FileFilter&)>& change);
    void syncMenus(const FileFilter& filter);

    Binding m_binding;
    Options m_options;
    const Locations& m_locations;
    QLineEdit* m_search = nullptr;
    IconButton* m_clearSearch = nullptr;
    QComboBox* m_size = nullptr;
    QComboBox* m_age = nullptr;
    QComboBox* m_category = nullptr;
    std::vector<KindChip*> m_chips;
    QWidget* m_pathChip = nullptr;
    ElidedLabel* m_pathLabel = nullptr;
    ElidedLabel* m_summary = nullptr;
    QPushButton* m_export = nullptr;
};

} // namespace dorvale
