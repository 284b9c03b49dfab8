#pragma once
// Inner and outer HTML as browsers serialise them (the HTML fragment
// serialisation algorithm): lower-case names, attributes in source order and
// double-quoted, void elements without end tags, comments as <!--x-->.
// Text escapes & U+00A0 < > (none of it inside script, style, xmp, iframe,
// noembed, noframes, plaintext and noscript); attribute values escape
// & U+00A0 " and, as current browsers do, < and >.

#include <string>

#include "HtmlDom.h"

namespace qv::html {

bool IsVoidElement(std::wstring_view name);
std::wstring SerializeChildren(const Node& node);
std::wstring SerializeNode(const Node& node);

}  // namespace qv::html
