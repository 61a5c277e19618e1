#pragma once
// A tree of ints in which every node has any number of ordered children, walked with one cursor (the current
// node). The nesting tree of closed boundaries is one: the root holds -1, each other node the index of a
// boundary, and the children of a node are the boundaries directly inside it.
//
// Results follow the library's convention: moves answer 1 when done and 0, not moving, when impossible.
// Children are numbered from 0 in the order they were adopted.

#include <memory>
#include <vector>

class intNaryTree {
public:
    // A tree of one node, the root, holding root_value; the cursor is at the root.
    explicit intNaryTree(int root_value = -1);
    // Copies keep the cursor at the same place.
    intNaryTree(const intNaryTree& other);
    intNaryTree& operator=(const intNaryTree& other);
    // A tree moved from by construction is a root holding -1 (making it allocates, hence not noexcept); one
    // moved from by assignment holds the assigned-to tree's old contents.
    intNaryTree(intNaryTree&& other);
    intNaryTree& operator=(intNaryTree&& other) noexcept;
    ~intNaryTree();

    int Read() const { return m_current->value; }
    void Write(int value) { m_current->value = value; }

    // Adds a new last child holding `value` to the current node; the cursor stays.
    void Adopt(int value);
    int NumOffspring() const { return static_cast<int>(m_current->children.size()); }

    // To child i of the current node.
    int Down(int i);
    // To the parent; 0 at the root.
    int Up();
    void Root() { m_current = m_root.get(); }
    // Deletes every descendant of the current node, which stays.
    void DeleteNodes();

    // Which child of its parent the current node is; -1 at the root.
    int OffspringIndex() const { return m_current->slot; }
    // The child numbers that lead from the root to the current node (empty at the root), to save the cursor
    // and come back with FollowPath.
    std::vector<int> Path() const;
    // From the root down the given child numbers. Answers 0 when some child is missing; the cursor then
    // stays at the last node reached.
    int FollowPath(const std::vector<int>& path);

private:
    struct Node {
        int value;
        int slot;     // place among the parent's children; -1 for the root
        Node* parent; // null for the root
        std::vector<std::unique_ptr<Node>> children;
    };

    static std::unique_ptr<Node> copy_of(const Node& root);
    static void delete_descendants(Node& node);

    std::unique_ptr<Node> m_root;
    Node* m_current; // never null
};
