#pragma once

#include "model/FileKind.hpp"

#include <QAbstractButton>

namespace dorvale {

/// A checkable capsule of one file kind: its symbol and title in small type, filled with the
/// kind's colour and outlined while checked, faint and in the secondary colour while not.
/// Keyboard use and the accessible name and state are those of a checkable button.
class KindChip : public QAbstractButton {
    Q_OBJECT

public:
    explicit KindChip(FileKind kind, QWidget* parent = nullptr);

    [[nodiscard]] FileKind kind() const { return m_kind; }
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] int iconSide() const;

    FileKind m_kind;
};

} // namespace dorvale
