#include "HtmlSerializer.h"

#include <algorithm>
#include <array>

namespace qv::html {
namespace {

constexpr std::array<std::wstring_view, 17> kVoidElements = {
    L"area", L"base",  L"basefont", L"bgsound", L"br",   L"col",   L"embed",  L"frame",  L"hr",
    L"img",  L"input", L"keygen",   L"link",    L"meta", L"param", L"source", L"track"};

constexpr std::array<std::wstring_view, 8> kRawTextParents = {
    L"style", L"script", L"xmp", L"iframe", L"noembed", L"noframes", L"plaintext", L"noscript"};

void AppendEscaped(std::wstring& out, std::wstring_view text, bool attribute) {
    for (const wchar_t c : text) {
        switch (c) {
            case L'&': out += L"&amp;"; break;
            case 0xA0: out += L"&nbsp;"; break;
            case L'<': out += L"&lt;"; break;
            case L'>': out += L"&gt;"; break;
            case L'"':
                if (attribute) {
                    out += L"&quot;";
                } else {
                    out.push_back(c);
                }
                break;
            default: out.push_back(c);
        }
    }
}

bool HasRawTextParent(const Node& text) {
    const Element* parent = text.Parent() ? text.Parent()->AsElement() : nullptr;
    return parent != nullptr && std::find(kRawTextParents.begin(), kRawTextParents.end(),
                                          parent->LocalName()) != kRawTextParents.end();
}

void AppendStartTag(std::wstring& out, const Element& element) {
    out.push_back(L'<');
    out += element.LocalName();
    for (const Attribute& attribute : element.Attributes()) {
        out.push_back(L' ');
        out += attribute.name;
        out += L"=\"";
        AppendEscaped(out, attribute.value, true);
        out.push_back(L'"');
    }
    out.push_back(L'>');
}

// Serialises a leaf, or the start tag of an element; true when the node's
// children and end tag follow.
bool AppendOpening(std::wstring& out, const Node& node) {
    switch (node.Kind()) {
        case NodeKind::Text:
            if (HasRawTextParent(node)) {
                out += node.data;
            } else {
                AppendEscaped(out, node.data, false);
            }
            return false;
        case NodeKind::Comment:
            out += L"<!--";
            out += node.data;
            out += L"-->";
            return false;
        case NodeKind::Doctype:
            out += L"<!DOCTYPE ";
            out += node.data;
            out.push_back(L'>');
            return false;
        case NodeKind::Element:
            AppendStartTag(out, *node.AsElement());
            return !IsVoidElement(node.AsElement()->LocalName());
        case NodeKind::Document:
            return true;
    }
    return false;
}

void AppendClosing(std::wstring& out, const Node& node) {
    if (!node.IsElement()) return;
    out += L"</";
    out += node.AsElement()->LocalName();
    out.push_back(L'>');
}

// Children of `node` (and, when `withSelf`, the node itself), walked without recursion.
std::wstring Serialize(const Node& node, bool withSelf) {
    std::wstring out;
    if (withSelf && !AppendOpening(out, node)) return out;
    if (node.IsElement() && IsVoidElement(node.AsElement()->LocalName())) return out;
    struct Frame {
        const Node* node;
        std::size_t next;
    };
    std::vector<Frame> stack{{&node, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.node->Children().size()) {
            if (stack.size() > 1 || withSelf) AppendClosing(out, *top.node);
            stack.pop_back();
            continue;
        }
        const Node* child = top.node->Children()[top.next++].get();
        if (AppendOpening(out, *child)) stack.push_back({child, 0});
    }
    return out;
}

}  // namespace

bool IsVoidElement(std::wstring_view name) {
    return std::find(kVoidElements.begin(), kVoidElements.end(), name) != kVoidElements.end() ||
           name == L"wbr";
}

std::wstring SerializeChildren(const Node& node) { return Serialize(node, false); }

std::wstring SerializeNode(const Node& node) { return Serialize(node, true); }

}  // namespace qv::html
