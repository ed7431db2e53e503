#include "controls/flat/glyphcache.h"

#include <algorithm>

namespace flat {

namespace {

std::unique_ptr<TGlyphCache> &theCache()
{
    static std::unique_ptr<TGlyphCache> cache;
    return cache;
}

} // namespace

int TGlyphList::Add(const QImage &image)
{
    int slot = 0;
    while (slot < used_.size() && used_.testBit(slot))
        ++slot;
    if (slot == used_.size()) {
        used_.resize(slot + 1);
        images_.resize(size_t(slot) + 1);
    }
    used_.setBit(slot);
    images_[size_t(slot)] = image;
    ++count_;
    return slot;
}

void TGlyphList::Delete(int slot)
{
    if (slot < 0 || slot >= used_.size() || !used_.testBit(slot))
        return;
    used_.clearBit(slot);
    images_[size_t(slot)] = QImage();
    --count_;
}

TGlyphList &TGlyphCache::GetList(QSize size)
{
    std::unique_ptr<TGlyphCache> &cache = theCache();
    if (!cache)
        cache = std::make_unique<TGlyphCache>();
    auto &lists = cache->lists_;
    const auto found = std::find_if(lists.begin(), lists.end(), [size](const auto &l) { return l->size() == size; });
    if (found != lists.end())
        return **found;
    lists.push_back(std::make_unique<TGlyphList>(size));
    return *lists.back();
}

void TGlyphCache::Release(TGlyphList &list, int slot)
{
    list.Delete(slot);
    std::unique_ptr<TGlyphCache> &cache = theCache();
    if (list.count() > 0 || !cache)
        return;
    std::erase_if(cache->lists_, [&list](const auto &l) { return l.get() == &list; });
    if (cache->lists_.empty())
        cache.reset();
}

const TGlyphCache *TGlyphCache::instance()
{
    return theCache().get();
}

} // namespace flat
