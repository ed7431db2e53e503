#pragma once

#include <QFont>
#include <QString>
#include <memory>
#include <vector>

namespace grid {

class TDBGridColumnEx;

// One node of the multi-level title: leaves are columns, inner nodes are the
// shared first parts of "upper|lower" captions spanning their children.
struct THeadTreeNode {
    QString Text;
    int Width = 0;
    int Height = 0;
    int WIndent = 0;
    int VLineWidth = 0;
    TDBGridColumnEx *Column = nullptr; // leaves only
    THeadTreeNode *Host = nullptr;     // parent; none for the root
    std::vector<std::unique_ptr<THeadTreeNode>> Children;

    bool isLeaf() const { return Children.empty(); }
    // The left-most leaf below this node.
    const THeadTreeNode &firstLeaf() const { return isLeaf() ? *this : Children.front()->firstLeaf(); }
};

struct TitleLeaf {
    QString caption;
    int width = 0;
    int indent = 0;
    TDBGridColumnEx *column = nullptr;
};

class TitleTree {
public:
    TitleTree();
    // Rebuilds the tree for the columns in order and measures every level.
    void build(const std::vector<TitleLeaf> &leaves, int lineWidth, int leafHeight, int vTitleMargin,
               const QFont &font);
    void clear();
    const THeadTreeNode &root() const { return root_; }
    int height() const { return root_.Height; }
    const THeadTreeNode *leafOf(const TDBGridColumnEx *column) const;

private:
    static bool mergeOneRun(THeadTreeNode &parent);
    int measureChildren(THeadTreeNode &node, int vTitleMargin, const QFont &font);

    THeadTreeNode root_;
    std::vector<const THeadTreeNode *> leaves_;
};

} // namespace grid
