#include "model/current/CurveDrawTool.h"

#include <iterator>

namespace HVCurrentModel {

void CurveDrawTool::begin(int32_t x, int32_t v)
{
    if (!target) return;
    stroke_.clear();
    stepAtStart_ = false;
    active_ = false;
    // The patch needs target nodes on both sides of its start; a stroke
    // begun at or outside the end nodes has none to interpolate between.
    if (!target->hasTwoNodes()) return;
    firstPos_ = target->front().pos;
    lastPos_ = target->back().pos;
    if (x <= firstPos_ || x >= lastPos_) return;

    upper_ = target->begin();
    while (upper_->pos <= x) ++upper_;
    lower_ = std::prev(upper_);

    if (lower_->pos == x) {
        int count = 0;
        auto it = lower_;
        for (;;) {
            ++count;
            stepLeft_ = *it;
            if (it == target->begin() || std::prev(it)->pos != x) break;
            --it;
        }
        stepAtStart_ = count >= 2;
    }

    cursor_ = stroke_.insertNode(stroke_.end(), {x, v});
    anchor_ = last_ = {x, v};
    active_ = true;
}

bool CurveDrawTool::drawable(int32_t x) const
{
    return target && active_ && !stroke_.empty() && x > firstPos_ && x < lastPos_;
}

CurveNode CurveDrawTool::interpolateOnStroke(int32_t x) const
{
    auto b = stroke_.begin();
    while (b != stroke_.end() && b->pos <= x) ++b;
    return interpolateNode(x, *std::prev(b), *b);
}

bool CurveDrawTool::drawTo(int32_t x, int32_t v)
{
    return drawToCollect(NodeContainer(), x, v);
}

bool CurveDrawTool::drawToCollect(const NodeContainer& between, int32_t x, int32_t v)
{
    if (!drawable(x)) return false;
    if (x == last_.pos) {
        cursor_->value = v;
        last_.value = v;
        return false;
    }

    const bool single = stroke_.size() < 2;
    const CurveNode n0 = single ? interpolateNode(last_.pos, *lower_, *upper_) : CurveNode{};
    const CurveNode point{x, v};
    CurveNode nx;

    if (x > last_.pos) {
        if (x >= upper_->pos) {
            while (upper_->pos <= x) ++upper_;
            nx = interpolateNode(x, *std::prev(upper_), *upper_);
        } else if (x >= stroke_.back().pos) {
            nx = single ? interpolateNode(x, *lower_, *upper_) : interpolateNode(x, *std::prev(upper_), *upper_);
        } else {
            nx = interpolateOnStroke(x);
        }
        auto stop = cursor_;
        while (stop != stroke_.end() && stop->pos <= x) ++stop;
        auto where = stroke_.eraseNodes(cursor_, stop);
        if (single) stroke_.insertNode(where, stepAtStart_ ? stepLeft_ : n0);
        stroke_.insertNode(where, last_);
        stroke_.insertNodes(where, between.begin(), between.end());
        cursor_ = stroke_.insertNode(where, point);
        stroke_.insertNode(where, nx);
    } else {
        if (x <= lower_->pos) {
            while (lower_ != target->begin() && lower_->pos >= x) --lower_;
            nx = interpolateNode(x, *lower_, *std::next(lower_));
        } else if (x <= stroke_.front().pos) {
            nx = single ? interpolateNode(x, *lower_, *upper_) : interpolateNode(x, *lower_, *std::next(lower_));
        } else {
            nx = interpolateOnStroke(x);
        }
        auto first = cursor_;
        while (first != stroke_.begin() && std::prev(first)->pos >= x) --first;
        auto where = stroke_.eraseNodes(first, cursor_);
        if (single) {
            stroke_.pushBack(n0);
            where = stroke_.begin();
        }
        cursor_ = stroke_.insertNode(where, point);
        stroke_.insertNodes(where, between.begin(), between.end());
        stroke_.insertNode(cursor_, nx);
    }
    last_ = point;
    return true;
}

bool CurveDrawTool::lineFromAnchor(int32_t x, int32_t v)
{
    if (!target || stroke_.empty()) return false;
    const CurveNode anchor = anchor_;
    begin(anchor.pos, anchor.value);
    return drawTo(x, v);
}

}  // namespace HVCurrentModel
