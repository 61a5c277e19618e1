#include "arcline/platform/intNaryTree.h"

#include <algorithm>
#include <cstddef>
#include <utility>

intNaryTree::intNaryTree(int root_value)
    : m_root(std::make_unique<Node>(Node{root_value, -1, nullptr, {}})), m_current(m_root.get()) {}

intNaryTree::intNaryTree(const intNaryTree& other) : m_root(copy_of(*other.m_root)), m_current(m_root.get()) {
    FollowPath(other.Path());
}

intNaryTree& intNaryTree::operator=(const intNaryTree& other) {
    if (this != &other) {
        intNaryTree copy(other);
        *this = std::move(copy);
    }
    return *this;
}

intNaryTree::intNaryTree(intNaryTree&& other) : intNaryTree(-1) {
    *this = std::move(other);
}

// Swaps, so that the other tree frees this one's old nodes when it goes.
intNaryTree& intNaryTree::operator=(intNaryTree&& other) noexcept {
    std::swap(m_root, other.m_root);
    std::swap(m_current, other.m_current);
    return *this;
}

intNaryTree::~intNaryTree() {
    if (m_root) delete_descendants(*m_root);
}

void intNaryTree::Adopt(int value) {
    const int slot = NumOffspring();
    m_current->children.push_back(std::make_unique<Node>(Node{value, slot, m_current, {}}));
}

int intNaryTree::Down(int i) {
    if (i < 0 || i >= NumOffspring()) return 0;
    m_current = m_current->children[static_cast<std::size_t>(i)].get();
    return 1;
}

int intNaryTree::Up() {
    if (!m_current->parent) return 0;
    m_current = m_current->parent;
    return 1;
}

void intNaryTree::DeleteNodes() {
    delete_descendants(*m_current);
}

std::vector<int> intNaryTree::Path() const {
    std::vector<int> path;
    for (const Node* n = m_current; n->parent; n = n->parent)
        path.push_back(n->slot);
    std::reverse(path.begin(), path.end());
    return path;
}

int intNaryTree::FollowPath(const std::vector<int>& path) {
    Root();
    for (const int child : path) {
        if (!Down(child)) return 0;
    }
    return 1;
}

// Node by node with a work list rather than by recursion, so that a deep tree cannot exhaust the stack.
std::unique_ptr<intNaryTree::Node> intNaryTree::copy_of(const Node& root) {
    auto top = std::make_unique<Node>(Node{root.value, -1, nullptr, {}});
    std::vector<std::pair<const Node*, Node*>> work{{&root, top.get()}};
    while (!work.empty()) {
        const auto [from, to] = work.back();
        work.pop_back();
        to->children.reserve(from->children.size());
        for (const auto& child : from->children) {
            to->children.push_back(std::make_unique<Node>(Node{child->value, child->slot, to, {}}));
            work.emplace_back(child.get(), to->children.back().get());
        }
    }
    return top;
}

// Detaches the children first, so that freeing a node never recurses into a long chain below it.
void intNaryTree::delete_descendants(Node& node) {
    std::vector<std::unique_ptr<Node>> work = std::move(node.children);
    node.children.clear();
    while (!work.empty()) {
        std::unique_ptr<Node> n = std::move(work.back());
        work.pop_back();
        for (auto& child : n->children)
            work.push_back(std::move(child));
        n->children.clear();
    }
}
