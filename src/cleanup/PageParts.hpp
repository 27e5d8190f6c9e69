#pragma once

class QWidget;

// Pieces that the cleanup pages lay out alike.
namespace dorvale {

/// Which edges of the page a part keeps its distance from.
enum class PageEdges {
    /// The left and right edges.
    Sides,
    /// The left, right and top edges: the page's header.
    SidesAndTop,
};

/// `widget` in a container that keeps the page margin from `edges`.
[[nodiscard]] QWidget* withPageMargins(QWidget* widget, PageEdges edges = PageEdges::Sides);

} // namespace dorvale
