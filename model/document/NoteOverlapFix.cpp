#include "model/document/NoteOverlapFix.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace HVCurrentModel {

namespace {

// The notes as a list linked by index, so that deleting or moving a note
// costs the same wherever it stands.
class NoteList {
public:
    explicit NoteList(const std::vector<Note*>& notes) : notes_(notes), next_(notes.size()), prev_(notes.size())
    {
        for (size_t k = 0; k < notes.size(); ++k) {
            next_[k] = k + 1;
            prev_[k] = k == 0 ? kEnd : k - 1;
        }
        if (notes.empty()) head_ = kEnd;
    }

    static constexpr size_t kEnd = SIZE_MAX;

    size_t head() const { return head_; }
    size_t next(size_t k) const { return next_[k] == notes_.size() ? kEnd : next_[k]; }
    Note* at(size_t k) const { return notes_[k]; }

    void unlink(size_t k)
    {
        const size_t n = next_[k], p = prev_[k];
        if (p == kEnd)
            head_ = n == notes_.size() ? kEnd : n;
        else
            next_[p] = n;
        if (n != notes_.size()) prev_[n] = p;
    }

    void insertAfter(size_t where, size_t k)
    {
        const size_t n = next_[where];
        next_[k] = n;
        prev_[k] = where;
        next_[where] = k;
        if (n != notes_.size()) prev_[n] = k;
    }

    std::vector<Note*> inOrder() const
    {
        std::vector<Note*> out;
        for (size_t k = head_; k != kEnd; k = next(k)) out.push_back(notes_[k]);
        return out;
    }

private:
    const std::vector<Note*>& notes_;
    std::vector<size_t> next_;
    std::vector<size_t> prev_;
    size_t head_ = 0;
};

// The first note from `from` on that overlaps a; kEnd when a note starting
// at or after a's end comes first. Only notes of no width at a's position
// (or damaged ones of negative width) are passed over.
size_t firstOverlapping(const NoteList& list, const Note& a, size_t from)
{
    for (size_t k = from; k != NoteList::kEnd; k = list.next(k)) {
        const Note& n = *list.at(k);
        if (n.pos >= spanEnd(a)) return NoteList::kEnd;
        if (spansOverlap(a, n)) return k;
    }
    return NoteList::kEnd;
}

// The share of a's width that b overlaps, as the overlap repair measures it.
float sharedRatio(const Note& a, const Note& b)
{
    const int64_t start = std::max(a.pos, b.pos);
    const int64_t end = std::min(spanEnd(a) - 1, spanEnd(b) - 1);
    return static_cast<float>(end - start) / static_cast<float>(a.width);
}

}  // namespace

void resolveNoteOverlaps(NoteContainer& notes)
{
    // Every note before the current one overlaps nothing: a note overlapped
    // by an earlier one would have been that note's B. So the first note
    // with a later partner is the first flagged one.
    const std::vector<Note*> all = notes.toVector();
    NoteList list(all);
    size_t ai = list.head();
    while (ai != NoteList::kEnd) {
        Note* a = list.at(ai);
        size_t bi = firstOverlapping(list, *a, list.next(ai));
        // While B goes, A stays and meets the notes after it.
        while (bi != NoteList::kEnd && sharedRatio(*a, *list.at(bi)) > 0.9f && list.at(bi)->key < a->key) {
            const size_t rest = list.next(bi);
            delete list.at(bi);
            list.unlink(bi);
            bi = firstOverlapping(list, *a, rest);
        }
        const size_t after = list.next(ai);
        if (bi == NoteList::kEnd) {
            ai = after;
            continue;
        }
        const Note& b = *list.at(bi);
        const int64_t width = int64_t{b.pos} - a->pos;  // below a's width: b starts inside a
        if (sharedRatio(*a, b) > 0.9f || width <= 0) {
            list.unlink(ai);
            delete a;
            ai = after;
            continue;
        }
        // A now ends where B starts and overlaps nothing; it goes after the
        // notes of its position (only notes of no width can stand there).
        a->width = static_cast<int32_t>(width);
        size_t last = ai;
        while (list.next(last) != NoteList::kEnd && list.at(list.next(last))->pos <= a->pos) last = list.next(last);
        if (last != ai) {
            list.unlink(ai);
            list.insertAfter(last, ai);
        }
        ai = list.next(ai);
    }
    notes.assign(list.inOrder());
    notes.markAllOverlaps();
}

}  // namespace HVCurrentModel
