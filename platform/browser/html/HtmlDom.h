#pragma once
// The document tree: nodes own their children; parents are plain back pointers.
// Teardown and every walk over the tree are iterative, so a deeply nested
// document cannot exhaust the stack.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AsciiText.h"

namespace qv::html {

enum class NodeKind { Document, Doctype, Element, Text, Comment };

struct Attribute {
    std::wstring name;
    std::wstring value;
};

class Element;

class Node {
public:
    explicit Node(NodeKind kind) : kind_(kind) {}
    virtual ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    NodeKind Kind() const { return kind_; }
    bool IsElement() const { return kind_ == NodeKind::Element; }
    Element* AsElement();
    const Element* AsElement() const;

    Node* Parent() const { return parent_; }
    const std::vector<std::unique_ptr<Node>>& Children() const { return children_; }
    Node* LastChild() const { return children_.empty() ? nullptr : children_.back().get(); }

    Node* AppendChild(std::unique_ptr<Node> child);
    // Inserts before `reference` (a child of this node); appends when it is null.
    Node* InsertBefore(std::unique_ptr<Node> child, Node* reference);
    std::unique_ptr<Node> RemoveChild(Node* child);
    std::size_t IndexOf(const Node* child) const;

    // Text of a text node, comment or doctype name.
    std::wstring data;

private:
    NodeKind kind_;
    Node* parent_ = nullptr;
    std::vector<std::unique_ptr<Node>> children_;
};

class Element : public Node {
public:
    explicit Element(std::wstring localName)
        : Node(NodeKind::Element), localName_(std::move(localName)) {}

    const std::wstring& LocalName() const { return localName_; }
    bool Is(std::wstring_view name) const { return localName_ == name; }

    const std::vector<Attribute>& Attributes() const { return attributes_; }
    const std::wstring* GetAttribute(std::wstring_view name) const;
    bool HasAttribute(std::wstring_view name) const { return GetAttribute(name) != nullptr; }
    void SetAttribute(std::wstring_view name, std::wstring_view value);
    // Adds each attribute in turn unless one of that name is there already
    // (the first one wins), in time linear in the attributes there and added,
    // so that a tag with thousands of them stays cheap.
    void AddAttributesIfMissing(const std::vector<Attribute>& added);

    // Form-control state that lives beside the markup, as in a browser: a value
    // typed or set, a checkbox toggled. None of it changes the serialised HTML.
    std::optional<std::wstring> dirtyValue;
    std::optional<bool> checkedness;
    std::optional<bool> selectedness;
    // The form the parser associated the element with (a form outside the
    // element's ancestors, as happens with forms inside tables).
    Element* parserForm = nullptr;

private:
    std::wstring localName_;
    std::vector<Attribute> attributes_;
};

// Tree-order walk of the descendants of `root` (not `root` itself); stop by
// returning false from `visit`.
template <typename Visit>
void ForEachDescendant(const Node& root, Visit&& visit) {
    struct Frame {
        const Node* node;
        std::size_t next;
    };
    std::vector<Frame> stack{{&root, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.node->Children().size()) {
            stack.pop_back();
            continue;
        }
        const Node* child = top.node->Children()[top.next++].get();
        if (!visit(const_cast<Node&>(*child))) return;
        if (!child->Children().empty()) stack.push_back({child, 0});
    }
}

// Concatenated text of the descendant text nodes.
std::wstring TextContent(const Node& node);
bool IsAncestorOf(const Node& ancestor, const Node& node);
const Node& TreeRoot(const Node& node);
// Nearest ancestor (not the element itself) with the given local name.
Element* NearestAncestor(const Node& node, std::wstring_view name);

// Keeps the first attribute of each name, in their order; linear time.
void DropRepeatedAttributes(std::vector<Attribute>& attributes);

bool IsHtmlWhitespace(wchar_t c);
std::wstring_view TrimHtmlWhitespace(std::wstring_view text);

}  // namespace qv::html
