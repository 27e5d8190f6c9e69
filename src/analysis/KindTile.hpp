#pragma once

#include "model/FileKind.hpp"

#include <QAbstractButton>

#include <cstdint>

class QVariantAnimation;

namespace dorvale {

/// The tile of one file kind on the file-type screen: its symbol in the kind's colour, its
/// title, the bytes and the number of files the scan counted for it. The selected tile is
/// tinted and outlined in the kind's colour; while the tile is shown, a change of selection
/// springs into place over half a second. A click anywhere on it picks the kind; it is a
/// button to the keyboard and to assistive technology.
class KindTile : public QAbstractButton {
    Q_OBJECT

public:
    explicit KindTile(FileKind kind, QWidget* parent = nullptr);

    [[nodiscard]] FileKind kind() const { return m_kind; }
    void setFigures(std::int64_t size, std::int64_t count);
    void setSelected(bool selected);
    [[nodiscard]] bool isSelected() const { return m_selected; }
    /// How selected the tile is drawn: 0 not at all, 1 fully, between while it springs.
    [[nodiscard]] qreal shownSelection() const;
    [[nodiscard]] QString sizeText() const;
    [[nodiscard]] QString countText() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void describe();

    FileKind m_kind;
    std::int64_t m_size = 0;
    std::int64_t m_count = 0;
    bool m_selected = false;
    QVariantAnimation* m_selection;
};

} // namespace dorvale
