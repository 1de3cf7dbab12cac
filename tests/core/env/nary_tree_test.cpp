#include "core/env/nary_tree.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

using namespace Brenno;

namespace {

// A value that counts its live copies, so tests can see that every node was freed.
struct Counted {
  static inline int live = 0;
  int v = 0;
  Counted() { ++live; }
  Counted(int value) : v(value) { ++live; }
  Counted(const Counted& other) : v(other.v) { ++live; }
  Counted& operator=(const Counted&) = default;
  ~Counted() { --live; }
};

using Tree = NaryTree<Counted>;
using Node = Tree::Node;

// Builds the trees of the tests from a text such as "1(2(3 4) 5)": a value, then its children
// in parentheses.
void ParseChildren(Tree& tree, Node* parent, const std::string& text, size_t& at);

Node* ParseNode(Tree& tree, Node* parent, const std::string& text, size_t& at) {
  size_t used = 0;
  const int value = std::stoi(text.substr(at), &used);
  at += used;
  Node* node = parent == nullptr ? tree.InsertBefore(value, tree.End())
                                 : tree.AppendChild(value, Tree::SiblingPosition{nullptr, parent}).node;
  if (at < text.size() && text[at] == '(') {
    ++at;
    ParseChildren(tree, node, text, at);
    ++at;  // ')'
  }
  return node;
}

void ParseChildren(Tree& tree, Node* parent, const std::string& text, size_t& at) {
  while (at < text.size() && text[at] != ')') {
    if (text[at] == ' ') {
      ++at;
      continue;
    }
    ParseNode(tree, parent, text, at);
  }
}

void Build(Tree& tree, const std::string& text) {
  size_t at = 0;
  ParseChildren(tree, nullptr, text, at);
}

// The same text form back, checking every link invariant on the way.
std::string Dump(const Node* node) {
  std::string out = std::to_string(node->value.v);
  if (node->first_child == nullptr) {
    EXPECT_EQ(node->last_child, nullptr);
    return out;
  }
  EXPECT_EQ(node->first_child->prev_sibling, nullptr);
  EXPECT_EQ(node->last_child->next_sibling, nullptr);
  out += "(";
  const Node* prev = nullptr;
  for (const Node* child = node->first_child; child != nullptr; child = child->next_sibling) {
    EXPECT_EQ(child->parent, node);
    EXPECT_EQ(child->prev_sibling, prev);
    if (prev != nullptr) out += " ";
    out += Dump(child);
    prev = child;
  }
  EXPECT_EQ(prev, node->last_child);
  return out + ")";
}

std::string Dump(const Tree& tree) {
  std::string out;
  EXPECT_EQ(tree.Head()->prev_sibling, nullptr);
  EXPECT_EQ(tree.End()->next_sibling, nullptr);
  for (const Node* top = tree.Begin(); top != tree.End(); top = top->next_sibling) {
    EXPECT_EQ(top->parent, nullptr);
    EXPECT_EQ(top->next_sibling->prev_sibling, top);
    EXPECT_EQ(top->prev_sibling->next_sibling, top);
    if (!out.empty()) out += " ";
    out += Dump(top);
  }
  return out;
}

// The node reached by a path of child indexes from the first top-level node.
Node* At(const Tree& tree, std::vector<int> path) {
  Node* node = tree.Begin();
  for (int index : path) {
    node = node->first_child;
    for (int i = 0; i < index; ++i) node = node->next_sibling;
  }
  return node;
}

}  // namespace

TEST(NaryTree, EmptyTreeAndFirstInsertions) {
  Tree tree;
  EXPECT_TRUE(tree.Empty());
  EXPECT_EQ(tree.Begin(), tree.End());
  EXPECT_EQ(tree.Head()->next_sibling, tree.End());
  EXPECT_EQ(tree.End()->prev_sibling, tree.Head());

  Node* root = tree.InsertBefore(1, tree.End());
  EXPECT_EQ(tree.Begin(), root);
  EXPECT_EQ(root->prev_sibling, tree.Head());
  EXPECT_EQ(root->next_sibling, tree.End());
  EXPECT_EQ(root->parent, nullptr);

  const auto only = tree.AppendChild(2, {nullptr, root});
  EXPECT_EQ(only.parent, root);
  EXPECT_EQ(root->first_child, only.node);
  EXPECT_EQ(root->last_child, only.node);

  tree.AppendChild(4, {nullptr, root});
  const auto front = tree.AppendChild(0, {root->first_child, nullptr});  // before the first child
  EXPECT_EQ(front.parent, root);
  tree.InsertBefore(3, root->last_child);
  tree.InsertBefore(9, tree.Begin());  // a second top-level node in front
  EXPECT_EQ(Dump(tree), "9 1(0 2 3 4)");
}

TEST(NaryTree, PreOrderWalkEndsAtEnd) {
  Tree tree;
  Build(tree, "1(2(3 4(5)) 6 7(8))");
  EXPECT_EQ(Dump(tree), "1(2(3 4(5)) 6 7(8))");
  std::vector<int> order;
  for (Node* node = tree.Begin(); node != tree.End(); node = tree.PreOrderNext(node)) order.push_back(node->value.v);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(tree.PreOrderNext(At(tree, {2, 0})), tree.End());
  EXPECT_THROW(tree.PreOrderNext(tree.End()), ExceptionLogicError);
}

TEST(NaryTree, EraseLeafReturnsThePostOrderSuccessor) {
  struct Case {
    std::vector<int> leaf;
    std::vector<int> successor;
    std::string after;
  };
  const Case cases[] = {
      {{0, 0}, {0, 1, 0}, "1(2(4(5)) 6)"},  // next sibling's deepest first descendant
      {{0, 1, 0}, {0, 1}, "1(2(3 4) 6)"},          // last child: the parent
      {{1}, {}, "1(2(3 4(5)))"},                   // last child of the root
  };
  for (const Case& c : cases) {
    Tree tree;
    Build(tree, "1(2(3 4(5)) 6)");
    Node* expected = At(tree, c.successor);
    EXPECT_EQ(tree.EraseLeaf(At(tree, c.leaf)), expected);
    EXPECT_EQ(Dump(tree), c.after);
  }
  Tree single;
  Build(single, "7");
  EXPECT_EQ(single.EraseLeaf(single.Begin()), single.End());
  EXPECT_TRUE(single.Empty());

  Tree tree;
  Build(tree, "1(2)");
  EXPECT_THROW(tree.EraseLeaf(tree.Begin()), ExceptionLogicError);  // has a child
  EXPECT_THROW(tree.EraseLeaf(tree.End()), ExceptionLogicError);
  EXPECT_EQ(Dump(tree), "1(2)");
}

TEST(NaryTree, ReplaceAndAppendSubtreeCopyShapeAndOrder) {
  struct Case {
    std::string target_tree;
    std::vector<int> target;
    std::string source_tree;
    std::vector<int> source;
    bool append;  // AppendSubtree under the target instead of ReplaceSubtree of it
    std::string after;
  };
  const Case cases[] = {
      // A source leaf leaves the target a leaf holding its value.
      {"1(2(3 4(5)) 6)", {0}, "9", {}, false, "1(9 6)"},
      // A nested source replaces the target's children; the target keeps its siblings.
      {"1(2(3) 6)", {0}, "7(8(9 10) 11(12(13)))", {}, false, "1(7(8(9 10) 11(12(13))) 6)"},
      // Only the source's own subtree is copied, not its later siblings.
      {"1(2)", {0}, "7(8(9) 10(11))", {0}, false, "1(8(9))"},
      {"1(2)", {}, "7(8(9 10(11)) 12)", {0}, true, "1(2 8(9 10(11)))"},
      {"1", {}, "7(8(9 10(11)) 12)", {}, true, "1(7(8(9 10(11)) 12))"},
  };
  for (const Case& c : cases) {
    Tree tree;
    Build(tree, c.target_tree);
    Tree source;
    Build(source, c.source_tree);
    Node* target = At(tree, c.target);
    Node* copy = c.append ? tree.AppendSubtree(target, At(source, c.source)) : tree.ReplaceSubtree(target, At(source, c.source));
    if (c.append) {
      EXPECT_EQ(copy, target->last_child);
    } else {
      EXPECT_EQ(copy, target);
    }
    EXPECT_EQ(Dump(tree), c.after);
    EXPECT_EQ(Dump(source), c.source_tree);  // the source is left as it was
  }
}

TEST(NaryTree, SubtreeCopiesWithinOneTreeAndOverlapsAreRefused) {
  Tree tree;
  Build(tree, "1(2(3 4) 5)");
  tree.AppendSubtree(At(tree, {1}), At(tree, {0}));
  EXPECT_EQ(Dump(tree), "1(2(3 4) 5(2(3 4)))");
  tree.ReplaceSubtree(At(tree, {0, 0}), At(tree, {1}));
  EXPECT_EQ(Dump(tree), "1(2(5(2(3 4)) 4) 5(2(3 4)))");

  const std::string before = Dump(tree);
  EXPECT_THROW(tree.ReplaceSubtree(At(tree, {0}), At(tree, {0})), ExceptionLogicError);
  EXPECT_THROW(tree.ReplaceSubtree(At(tree, {0}), At(tree, {0, 0})), ExceptionLogicError);
  EXPECT_THROW(tree.ReplaceSubtree(At(tree, {0, 0}), At(tree, {0})), ExceptionLogicError);
  EXPECT_THROW(tree.AppendSubtree(At(tree, {0, 0}), At(tree, {0})), ExceptionLogicError);
  EXPECT_EQ(Dump(tree), before);
}

TEST(NaryTree, ClearCopyAndAssignmentOwnTheirNodes) {
  ASSERT_EQ(Counted::live, 0);
  {
    Tree tree;
    Build(tree, "1(2(3(4 5) 6) 7)");
    Tree copy(tree);
    EXPECT_EQ(Dump(copy), "1(2(3(4 5) 6) 7)");
    EXPECT_NE(copy.Begin(), tree.Begin());
    copy.Clear();
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(Dump(tree), "1(2(3(4 5) 6) 7)");

    Tree assigned;
    Build(assigned, "9(9)");
    assigned = tree;
    EXPECT_EQ(Dump(assigned), "1(2(3(4 5) 6) 7)");
    const Tree& same = assigned;
    assigned = same;
    EXPECT_EQ(Dump(assigned), "1(2(3(4 5) 6) 7)");

    Tree empty;
    Tree empty_copy(empty);
    EXPECT_TRUE(empty_copy.Empty());
    assigned = empty;
    EXPECT_TRUE(assigned.Empty());

    const int with_tree = Counted::live;
    tree.Clear();
    EXPECT_EQ(Counted::live, with_tree - 7);
    EXPECT_TRUE(tree.Empty());
  }
  EXPECT_EQ(Counted::live, 0);

  NaryTree<std::pair<int, int>> pairs;
  auto* root = pairs.InsertBefore({1, 2}, pairs.End());
  pairs.AppendChild({3, 4}, {nullptr, root});
  NaryTree<std::pair<int, int>> pairs_copy = pairs;
  EXPECT_EQ(pairs_copy.Begin()->first_child->value, (std::pair<int, int>{3, 4}));
}
