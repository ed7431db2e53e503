#include "controls/grid/titletree.h"

#include "controls/grid/cellpainting.h"

#include <QStringList>
#include <algorithm>

namespace grid {

namespace {

constexpr int UpperLevelHeight = 20;

QStringList partsOf(const QString &text)
{
    return text.split(u'|', Qt::SkipEmptyParts);
}

// Measured by the rules the title is drawn with.
int wrappedHeight(const QString &text, int width, const QFont &font)
{
    const QString shown = text.isEmpty() ? QStringLiteral(" ") : text;
    return platform::measureText(font, shown, {0, 0, width, 0}, WrappedTextFormat).height();
}

void collectLeaves(const THeadTreeNode &node, std::vector<const THeadTreeNode *> &out)
{
    for (const auto &child : node.Children) {
        if (child->isLeaf())
            out.push_back(child.get());
        else
            collectLeaves(*child, out);
    }
}

} // namespace

TitleTree::TitleTree()
{
    root_.Text = QStringLiteral("Root");
}

void TitleTree::clear()
{
    root_.Children.clear();
    root_.Height = 0;
    leaves_.clear();
}

void TitleTree::build(const std::vector<TitleLeaf> &leaves, int lineWidth, int leafHeight, int vTitleMargin,
                      const QFont &font)
{
    clear();
    for (const TitleLeaf &leaf : leaves) {
        auto node = std::make_unique<THeadTreeNode>();
        node->Text = leaf.caption;
        node->Width = leaf.width;
        node->Height = leafHeight;
        node->Column = leaf.column;
        node->WIndent = leaf.indent;
        node->VLineWidth = lineWidth;
        node->Host = &root_;
        root_.Children.push_back(std::move(node));
    }
    while (mergeOneRun(root_)) {
    }
    root_.Height = measureChildren(root_, vTitleMargin, font);
    leaves_.clear();
    collectLeaves(root_, leaves_);
}

// Finds the first leaf (depth first) with a two-part caption and gathers it
// and its following siblings of the same first part under a new node.
bool TitleTree::mergeOneRun(THeadTreeNode &parent)
{
    auto &kids = parent.Children;
    for (size_t i = 0; i < kids.size(); ++i) {
        if (!kids[i]->isLeaf()) {
            if (mergeOneRun(*kids[i]))
                return true;
            continue;
        }
        QStringList parts = partsOf(kids[i]->Text);
        if (parts.size() < 2)
            continue;
        const QString first = parts.first();
        size_t end = i + 1;
        while (end < kids.size() && kids[end]->isLeaf()) {
            QStringList next = partsOf(kids[end]->Text);
            if (next.isEmpty() || next.first() != first)
                break;
            ++end;
        }
        auto host = std::make_unique<THeadTreeNode>();
        host->Text = first;
        host->Height = UpperLevelHeight;
        host->Host = &parent;
        host->VLineWidth = kids[i]->VLineWidth;
        int width = 0;
        for (size_t k = i; k < end; ++k) {
            auto &child = kids[k];
            child->Text = partsOf(child->Text).mid(1).join(u'|');
            child->Height -= UpperLevelHeight;
            child->Host = host.get();
            width += child->Width + child->VLineWidth;
            host->Children.push_back(std::move(child));
        }
        host->Width = host->VLineWidth >= 1 ? width - host->VLineWidth : width;
        kids.erase(kids.begin() + static_cast<long>(i), kids.begin() + static_cast<long>(end));
        kids.insert(kids.begin() + static_cast<long>(i), std::move(host));
        return true;
    }
    return false;
}

int TitleTree::measureChildren(THeadTreeNode &node, int vTitleMargin, const QFont &font)
{
    int level = 0;
    std::vector<int> below(node.Children.size());
    for (size_t i = 0; i < node.Children.size(); ++i) {
        THeadTreeNode &child = *node.Children[i];
        int textWidth = std::max(1, child.Width - child.WIndent - 4);
        int textHeight = (child.Width <= 0 ? 0 : wrappedHeight(child.Text, textWidth, font)) + vTitleMargin;
        below[i] = child.isLeaf() ? 0 : measureChildren(child, vTitleMargin, font);
        level = std::max(level, textHeight + below[i]);
    }
    for (size_t i = 0; i < node.Children.size(); ++i)
        node.Children[i]->Height = level - below[i];
    return level;
}

const THeadTreeNode *TitleTree::leafOf(const TDBGridColumnEx *column) const
{
    auto it = std::find_if(leaves_.begin(), leaves_.end(), [column](auto *leaf) { return leaf->Column == column; });
    return it == leaves_.end() ? nullptr : *it;
}

} // namespace grid
