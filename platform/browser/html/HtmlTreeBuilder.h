#pragma once
// Builds the document tree from tokens by the HTML tree-construction rules:
// implied html/head/body, implied end tags, tbody inserted into tables, foster
// parenting, the adoption agency for misnested formatting elements, form
// association and fragment parsing in the context of an element.
// Not modelled: templates' own contents, SVG/MathML foreign content (their
// elements are built as ordinary elements) and script execution.

#include <memory>
#include <string_view>
#include <vector>

#include "HtmlDom.h"

namespace qv::html {

// Parses a whole document into `document` (a Document node).
void BuildDocumentTree(Node& document, std::wstring_view text);

// Parses `markup` as the children of `context` would be parsed; the nodes
// come back detached. `form` is the form the context lies in, if any.
std::vector<std::unique_ptr<Node>> BuildFragment(const Element& context, std::wstring_view markup,
                                                 Element* form);

// Deeper nesting than this is closed at once (its content goes to the parent):
// a guard against pathological input, far above what real pages use.
constexpr std::size_t kMaxOpenElements = 512;

}  // namespace qv::html
