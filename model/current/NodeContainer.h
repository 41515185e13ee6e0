#pragma once
// Ordered list of integer curve nodes with a lazily rebuilt position index.
//
// Nodes stand in non-decreasing order of position; the container never sorts,
// every user keeps that order. Two or more nodes on one position form a
// vertical step: the first gives the value reached from the left, the last the
// value left towards the right. The list structure changes only through the
// mutators below, each of which marks the index stale and forgets the lookup
// hint; node fields may be edited in place through the iterators (the index
// holds list positions, which stay valid).
//
// The index and the hint are made by the first lookup that needs them: a
// curve that is never looked up (most of a score's curves, such as the flat
// vibrato curves of every note) costs only its list.
#include <cstddef>
#include <cstdint>
#include <list>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace HVCurrentModel {

struct CurveNode {
    int32_t pos = 0;
    int32_t value = 0;

    friend bool operator==(const CurveNode&, const CurveNode&) = default;
};

class NodeContainer {
public:
    using List = std::list<CurveNode>;
    using iterator = List::iterator;
    using const_iterator = List::const_iterator;

    NodeContainer() = default;
    NodeContainer(const NodeContainer& other);
    NodeContainer& operator=(const NodeContainer& other);
    NodeContainer(std::initializer_list<CurveNode> nodes);

    // Structural changes; each marks the index stale.
    void insertNodes(const_iterator where, const_iterator first, const_iterator last);
    iterator insertNode(const_iterator where, const CurveNode& node);
    void pushBack(const CurveNode& node);
    void pushFront(const CurveNode& node);
    iterator eraseNodes(const_iterator first, const_iterator last);
    iterator eraseNode(const_iterator where);
    void clear();

    // Replaces the nodes by copies of other's nodes.
    void assign(const NodeContainer& other);
    // Adds delta to every node position; order and index stay valid.
    void shiftPositions(int32_t delta);
    bool hasTwoNodes() const { return nodes_.size() >= 2; }

    // The last node whose position is below x, or end() when there is none or
    // when the first node is already at or above x.
    iterator findNode(int32_t x);

    // A node a caller remembers between lookups, kept until the next
    // structural change or forgetHint(); a copy starts without one.
    std::optional<iterator> hint() const;
    void setHint(iterator at);
    void forgetHint();

    iterator begin() { return nodes_.begin(); }
    iterator end() { return nodes_.end(); }
    const_iterator begin() const { return nodes_.begin(); }
    const_iterator end() const { return nodes_.end(); }
    size_t size() const { return nodes_.size(); }
    bool empty() const { return nodes_.empty(); }
    CurveNode& front() { return nodes_.front(); }
    CurveNode& back() { return nodes_.back(); }
    const CurveNode& front() const { return nodes_.front(); }
    const CurveNode& back() const { return nodes_.back(); }
    std::vector<CurveNode> toVector() const { return {nodes_.begin(), nodes_.end()}; }

private:
    struct Lookup {
        std::vector<iterator> index;
        bool indexStale = true;
        iterator hint;
        bool hasHint = false;
    };

    void touch();
    Lookup& lookup();

    List nodes_;
    std::unique_ptr<Lookup> lookup_;
};

// The node at x on the straight line from a to b (callers pass a.pos < b.pos).
CurveNode interpolateNode(int32_t x, const CurveNode& a, const CurveNode& b);

}  // namespace HVCurrentModel
