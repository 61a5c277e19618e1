#pragma once
// One crossing as seen from one of its two curves, in a crossing graph: linked to the previous and next
// crossing along the same curve (a cycle per curve) and paired with the node of the same crossing on the
// other curve. Walking next along a curve and jumping to the pair at a crossing traces the pieces that the
// crossings cut out.
//
// The node does not own its crossing or its neighbours: the graph that made them owns them all.

class velCrossing;

class velCrossingGraphNode {
public:
    velCrossingGraphNode() = default;
    explicit velCrossingGraphNode(velCrossing* crossing) : m_crossing(crossing) {}

    velCrossing* crossing() { return m_crossing; }
    const velCrossing* crossing() const { return m_crossing; }
    void set_crossing(velCrossing* crossing) { m_crossing = crossing; }

    velCrossingGraphNode* next() { return m_next; }
    const velCrossingGraphNode* next() const { return m_next; }
    velCrossingGraphNode* prev() { return m_prev; }
    const velCrossingGraphNode* prev() const { return m_prev; }
    velCrossingGraphNode* pair() { return m_pair; }
    const velCrossingGraphNode* pair() const { return m_pair; }

    // a.next = b, b.prev = a.
    friend void link(velCrossingGraphNode& a, velCrossingGraphNode& b) {
        a.m_next = &b;
        b.m_prev = &a;
    }
    // a.pair = b, b.pair = a.
    friend void link_pair(velCrossingGraphNode& a, velCrossingGraphNode& b) {
        a.m_pair = &b;
        b.m_pair = &a;
    }

private:
    velCrossing* m_crossing = nullptr;
    velCrossingGraphNode* m_next = nullptr;
    velCrossingGraphNode* m_prev = nullptr;
    velCrossingGraphNode* m_pair = nullptr;
};

void link(velCrossingGraphNode& a, velCrossingGraphNode& b);
void link_pair(velCrossingGraphNode& a, velCrossingGraphNode& b);
