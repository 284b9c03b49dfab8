#include "HtmlDom.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace qv::html {

Node::~Node() {
    // Flatten the subtree so that destroying it never recurses.
    std::vector<std::unique_ptr<Node>> pending;
    pending.swap(children_);
    while (!pending.empty()) {
        std::unique_ptr<Node> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->children_) pending.push_back(std::move(child));
        node->children_.clear();
    }
}

Element* Node::AsElement() {
    return IsElement() ? static_cast<Element*>(this) : nullptr;
}

const Element* Node::AsElement() const {
    return IsElement() ? static_cast<const Element*>(this) : nullptr;
}

Node* Node::AppendChild(std::unique_ptr<Node> child) {
    return InsertBefore(std::move(child), nullptr);
}

Node* Node::InsertBefore(std::unique_ptr<Node> child, Node* reference) {
    child->parent_ = this;
    Node* raw = child.get();
    if (reference == nullptr) {
        children_.push_back(std::move(child));
    } else {
        children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(IndexOf(reference)),
                         std::move(child));
    }
    return raw;
}

std::unique_ptr<Node> Node::RemoveChild(Node* child) {
    const std::size_t index = IndexOf(child);
    if (index >= children_.size()) return nullptr;
    std::unique_ptr<Node> removed = std::move(children_[index]);
    children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index));
    removed->parent_ = nullptr;
    return removed;
}

std::size_t Node::IndexOf(const Node* child) const {
    for (std::size_t i = 0; i < children_.size(); ++i) {
        if (children_[i].get() == child) return i;
    }
    return children_.size();
}

const std::wstring* Element::GetAttribute(std::wstring_view name) const {
    for (const Attribute& attribute : attributes_) {
        if (attribute.name == name) return &attribute.value;
    }
    return nullptr;
}

void Element::SetAttribute(std::wstring_view name, std::wstring_view value) {
    for (Attribute& attribute : attributes_) {
        if (attribute.name == name) {
            attribute.value = value;
            return;
        }
    }
    attributes_.push_back({std::wstring(name), std::wstring(value)});
}

void Element::AddAttributesIfMissing(const std::vector<Attribute>& added) {
    // A few names are looked up directly: hashing every name there would make
    // repeated <html> tags of one attribute each cost more than they do now.
    if (added.size() <= 8) {
        for (const Attribute& attribute : added) {
            if (!HasAttribute(attribute.name)) attributes_.push_back(attribute);
        }
        return;
    }
    attributes_.insert(attributes_.end(), added.begin(), added.end());
    DropRepeatedAttributes(attributes_);
}

void DropRepeatedAttributes(std::vector<Attribute>& attributes) {
    if (attributes.size() < 2) return;
    std::vector<bool> keep(attributes.size());
    bool repeated = false;
    {
        // The views point into the names in place: nothing moves until the set is gone.
        std::unordered_set<std::wstring_view> seen;
        seen.reserve(attributes.size());
        for (std::size_t i = 0; i < attributes.size(); ++i) {
            keep[i] = seen.insert(attributes[i].name).second;
            if (!keep[i]) repeated = true;
        }
    }
    if (!repeated) return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        if (!keep[i]) continue;
        if (kept != i) attributes[kept] = std::move(attributes[i]);
        ++kept;
    }
    attributes.erase(attributes.begin() + static_cast<std::ptrdiff_t>(kept), attributes.end());
}

std::wstring TextContent(const Node& node) {
    std::wstring text;
    ForEachDescendant(node, [&](Node& child) {
        if (child.Kind() == NodeKind::Text) text += child.data;
        return true;
    });
    return text;
}

bool IsAncestorOf(const Node& ancestor, const Node& node) {
    for (const Node* p = node.Parent(); p != nullptr; p = p->Parent()) {
        if (p == &ancestor) return true;
    }
    return false;
}

const Node& TreeRoot(const Node& node) {
    const Node* root = &node;
    while (root->Parent() != nullptr) root = root->Parent();
    return *root;
}

Element* NearestAncestor(const Node& node, std::wstring_view name) {
    for (Node* p = node.Parent(); p != nullptr; p = p->Parent()) {
        Element* element = p->AsElement();
        if (element != nullptr && element->Is(name)) return element;
    }
    return nullptr;
}

bool IsHtmlWhitespace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\f' || c == L'\r';
}

std::wstring_view TrimHtmlWhitespace(std::wstring_view text) {
    while (!text.empty() && IsHtmlWhitespace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsHtmlWhitespace(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace qv::html
