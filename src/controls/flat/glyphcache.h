#pragma once

#include <QBitArray>
#include <QImage>
#include <QSize>

#include <memory>
#include <vector>

namespace flat {

// The state images of one size for every button: each image takes a slot,
// the lowest free one, until its button lets it go.
class TGlyphList {
public:
    explicit TGlyphList(QSize size) : size_(size) {}

    QSize size() const { return size_; }
    int Add(const QImage &image);
    void Delete(int slot);
    QImage image(int slot) const { return images_.at(size_t(slot)); }
    int count() const { return count_; }

private:
    QSize size_;
    QBitArray used_;
    std::vector<QImage> images_;
    int count_ = 0;
};

// The program-wide image lists, one per image size in pixels. The cache
// exists while some list does, and a list while one of its slots is used.
class TGlyphCache {
public:
    // The list for images of `size`, made when none is.
    static TGlyphList &GetList(QSize size);
    // Frees the slot, the list once it is empty and the cache with its last list.
    static void Release(TGlyphList &list, int slot);
    // The cache while it exists, for looking into it.
    static const TGlyphCache *instance();

    int listCount() const { return int(lists_.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> lists_;
};

} // namespace flat
