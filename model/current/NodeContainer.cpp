#include "model/current/NodeContainer.h"

#include <algorithm>

#include "model/current/TickRange.h"

namespace HVCurrentModel {

NodeContainer::NodeContainer(const NodeContainer& other) : nodes_(other.nodes_) {}

NodeContainer::NodeContainer(std::initializer_list<CurveNode> nodes) : nodes_(nodes) {}

NodeContainer& NodeContainer::operator=(const NodeContainer& other)
{
    if (this != &other) assign(other);
    return *this;
}

void NodeContainer::touch()
{
    if (!lookup_) return;
    lookup_->indexStale = true;
    lookup_->hasHint = false;
}

NodeContainer::Lookup& NodeContainer::lookup()
{
    if (!lookup_) lookup_ = std::make_unique<Lookup>();
    return *lookup_;
}

std::optional<NodeContainer::iterator> NodeContainer::hint() const
{
    if (!lookup_ || !lookup_->hasHint) return std::nullopt;
    return lookup_->hint;
}

void NodeContainer::setHint(iterator at)
{
    Lookup& l = lookup();
    l.hint = at;
    l.hasHint = true;
}

void NodeContainer::forgetHint()
{
    if (lookup_) lookup_->hasHint = false;
}

void NodeContainer::insertNodes(const_iterator where, const_iterator first, const_iterator last)
{
    touch();
    nodes_.insert(where, first, last);
}

NodeContainer::iterator NodeContainer::insertNode(const_iterator where, const CurveNode& node)
{
    touch();
    return nodes_.insert(where, node);
}

void NodeContainer::pushBack(const CurveNode& node)
{
    touch();
    nodes_.push_back(node);
}

void NodeContainer::pushFront(const CurveNode& node)
{
    touch();
    nodes_.push_front(node);
}

NodeContainer::iterator NodeContainer::eraseNodes(const_iterator first, const_iterator last)
{
    touch();
    return nodes_.erase(first, last);
}

NodeContainer::iterator NodeContainer::eraseNode(const_iterator where)
{
    touch();
    return nodes_.erase(where);
}

void NodeContainer::clear()
{
    touch();
    nodes_.clear();
}

void NodeContainer::assign(const NodeContainer& other)
{
    if (this == &other) return;
    touch();
    nodes_ = other.nodes_;
}

void NodeContainer::shiftPositions(int32_t delta)
{
    for (CurveNode& n : nodes_) n.pos = clampTick(int64_t{n.pos} + delta);
}

NodeContainer::iterator NodeContainer::findNode(int32_t x)
{
    Lookup& l = lookup();
    if (l.indexStale) {
        l.index.clear();
        l.index.reserve(nodes_.size());
        for (auto it = nodes_.begin(); it != nodes_.end(); ++it) l.index.push_back(it);
        l.indexStale = false;
    }
    auto found = std::lower_bound(l.index.begin(), l.index.end(), x,
                                  [](const iterator& it, int32_t pos) { return it->pos < pos; });
    if (found == l.index.end() || found == l.index.begin()) return nodes_.end();
    return *(found - 1);
}

CurveNode interpolateNode(int32_t x, const CurveNode& a, const CurveNode& b)
{
    if (b.pos == a.pos) return {x, b.value};  // a step has no slope to follow
    const double t = (double(b.pos) - x) / (double(b.pos) - a.pos);
    return {x, static_cast<int32_t>(a.value * t + b.value * (1.0 - t))};
}

}  // namespace HVCurrentModel
