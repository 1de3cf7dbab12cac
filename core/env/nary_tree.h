// A small general tree: nodes in doubly linked sibling lists under explicit parent links, with
// two sentinel nodes (head and feet) bracketing the top level. The converter keeps the logic
// tree of a network in it, the .pmw import its grouping of instructions into networks.
//
// Positions are plain node pointers and stay valid while their node exists; erasing a node
// invalidates it and its descendants. Insertion, erasure of a leaf and stepping are constant
// time; copying, replacing and clearing touch each node of the subtree once.
#pragma once

#include <string>

#include "core/env/exception_error.h"

namespace Brenno {

template <class T>
class NaryTree {
 public:
  struct Node {
    Node* parent = nullptr;
    Node* first_child = nullptr;
    Node* last_child = nullptr;
    Node* prev_sibling = nullptr;
    Node* next_sibling = nullptr;
    T value{};
  };

  using Position = Node*;

  // A place in the child list of a parent: before node, or after the last child when node is
  // null.
  struct SiblingPosition {
    Node* node = nullptr;
    Node* parent = nullptr;
  };

  NaryTree() { InitSentinels(); }

  NaryTree(const NaryTree& other) {
    InitSentinels();
    try {
      CopyTopLevelFrom(other);
    } catch (...) {
      Clear();
      FreeSentinels();
      throw;
    }
  }

  NaryTree& operator=(const NaryTree& other) {
    if (this != &other) {
      Clear();
      CopyTopLevelFrom(other);
    }
    return *this;
  }

  ~NaryTree() {
    Clear();
    FreeSentinels();
  }

  // The first top-level node; End() when the tree is empty.
  Position Begin() const { return head_->next_sibling; }
  // The feet sentinel: the place after the last top-level node.
  Position End() const { return feet_; }
  // The head sentinel: the place before the first top-level node.
  Position Head() const { return head_; }
  bool Empty() const { return Begin() == End(); }

  // A new leaf holding the value, placed as the previous sibling of the node at the position
  // (under that node's parent). Before End() it becomes the last top-level node.
  Position InsertBefore(const T& value, Position position) {
    if (position == nullptr || position == head_) throw MakeLogicError(L"\r\n  NaryTree: insert before an invalid position");
    Node* node = new Node{position->parent, nullptr, nullptr, position->prev_sibling, position, value};
    position->prev_sibling = node;
    if (node->prev_sibling == nullptr) {
      node->parent->first_child = node;
    } else {
      node->prev_sibling->next_sibling = node;
    }
    return node;
  }

  // A new leaf holding the value, placed before the sibling position's node, or as the last
  // child of its parent when the node is null. Returns the new node with its parent.
  SiblingPosition AppendChild(const T& value, SiblingPosition position) {
    if (position.node != nullptr) {
      Node* node = InsertBefore(value, position.node);
      return {node, node->parent};
    }
    Node* parent = position.parent;
    if (parent == nullptr || parent == head_ || parent == feet_) throw MakeLogicError(L"\r\n  NaryTree: append under no parent");
    Node* node = new Node{parent, nullptr, nullptr, parent->last_child, nullptr, value};
    parent->last_child = node;
    if (node->prev_sibling == nullptr) {
      parent->first_child = node;
    } else {
      node->prev_sibling->next_sibling = node;
    }
    return {node, parent};
  }

  // Copies the source node with all its descendants below the parent, as its last child.
  // The source may lie in another tree, but must not be the parent or one of its ancestors.
  Position AppendSubtree(Position parent, Position source) {
    if (source == nullptr) throw MakeLogicError(L"\r\n  NaryTree: append of an invalid subtree");
    if (IsAncestorOrSelf(source, parent)) throw MakeLogicError(L"\r\n  NaryTree: subtree appended into itself");
    Node* placeholder = AppendChild(T{}, SiblingPosition{nullptr, parent}).node;
    return ReplaceSubtree(placeholder, source);
  }

  // Replaces the target's value and descendants by a copy of the source's value and
  // descendants, with the same shape and order; the target keeps its own place. The source
  // may lie in another tree but not within the target's subtree, nor above the target.
  Position ReplaceSubtree(Position target, Position source) {
    if (target == nullptr || source == nullptr || IsSentinel(target) || IsSentinel(source)) {
      throw MakeLogicError(L"\r\n  NaryTree: replace with an invalid position");
    }
    if (IsAncestorOrSelf(target, source) || IsAncestorOrSelf(source, target)) {
      throw MakeLogicError(L"\r\n  NaryTree: subtree replaced by an overlapping subtree");
    }
    Node* const stop = source->next_sibling;
    EraseDescendants(target);
    target->value = source->value;
    Node* current = source;
    Node* copy = target;
    for (;;) {
      if (current->first_child != nullptr) {
        current = current->first_child;
        copy = AppendChild(current->value, SiblingPosition{nullptr, copy}).node;
        continue;
      }
      while (current->next_sibling == nullptr && current != source) {
        current = current->parent;
        copy = copy->parent;
      }
      current = current->next_sibling;
      if (current == stop) break;
      copy = AppendChild(current->value, SiblingPosition{nullptr, copy->parent}).node;
    }
    return target;
  }

  // Unlinks and frees a node without children. Returns the node that follows it in post-order
  // (feet after the last top-level node).
  Position EraseLeaf(Position node) {
    if (node == nullptr || IsSentinel(node) || node->first_child != nullptr) {
      throw MakeLogicError(L"\r\n  NaryTree: erase of a node that is not a leaf");
    }
    Node* successor = node->parent;
    if (node->next_sibling != nullptr) successor = DeepestFirstDescendant(node->next_sibling);
    if (node->prev_sibling != nullptr) {
      node->prev_sibling->next_sibling = node->next_sibling;
    } else {
      node->parent->first_child = node->next_sibling;
    }
    if (node->next_sibling != nullptr) {
      node->next_sibling->prev_sibling = node->prev_sibling;
    } else {
      node->parent->last_child = node->prev_sibling;
    }
    delete node;
    return successor;
  }

  // The next node in pre-order: the first child, else the next sibling of the node or of its
  // nearest ancestor that has one; End() after the last node.
  Position PreOrderNext(Position position) const {
    if (position == nullptr || position == feet_) throw MakeLogicError(L"\r\n  NaryTree: step past the end");
    if (position->first_child != nullptr) return position->first_child;
    Node* node = position;
    while (node->next_sibling == nullptr) node = node->parent;
    return node->next_sibling;
  }

  // Erases every node; the tree is then empty.
  void Clear() {
    while (head_->next_sibling != feet_) {
      Node* top = head_->next_sibling;
      EraseDescendants(top);
      EraseLeaf(top);
    }
  }

 private:
  void InitSentinels() {
    head_ = new Node;
    try {
      feet_ = new Node;
    } catch (...) {
      delete head_;
      throw;
    }
    head_->next_sibling = feet_;
    feet_->prev_sibling = head_;
  }

  void FreeSentinels() {
    delete head_;
    delete feet_;
    head_ = feet_ = nullptr;
  }

  bool IsSentinel(const Node* node) const { return node == head_ || node == feet_; }

  // True when ancestor is node itself or lies on node's parent chain.
  static bool IsAncestorOrSelf(const Node* ancestor, const Node* node) {
    for (const Node* at = node; at != nullptr; at = at->parent) {
      if (at == ancestor) return true;
    }
    return false;
  }

  static Node* DeepestFirstDescendant(Node* node) {
    while (node->first_child != nullptr) node = node->first_child;
    return node;
  }

  // Frees every node below the given one, deepest first, leaving it without children.
  void EraseDescendants(Node* node) {
    if (node->first_child == nullptr) return;
    Node* current = DeepestFirstDescendant(node->first_child);
    while (current != node) current = EraseLeaf(current);
  }

  void CopyTopLevelFrom(const NaryTree& other) {
    for (Node* top = other.Begin(); top != other.End(); top = top->next_sibling) {
      ReplaceSubtree(InsertBefore(top->value, feet_), top);
    }
  }

  Node* head_ = nullptr;
  Node* feet_ = nullptr;
};

}  // namespace Brenno
