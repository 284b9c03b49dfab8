#include "HtmlEntities.h"

#include <array>

#include "TextConvert.h"

namespace qv::html {
namespace {

struct NamedReference {
    std::wstring_view name;
    char32_t codePoint;
};

// The Latin-1 names, U+00A0 to U+00FF in order; all of them are also
// recognised without the closing ';'.
constexpr std::array<std::wstring_view, 96> kLatin1Names = {
    L"nbsp",   L"iexcl",  L"cent",   L"pound",  L"curren", L"yen",    L"brvbar", L"sect",
    L"uml",    L"copy",   L"ordf",   L"laquo",  L"not",    L"shy",    L"reg",    L"macr",
    L"deg",    L"plusmn", L"sup2",   L"sup3",   L"acute",  L"micro",  L"para",   L"middot",
    L"cedil",  L"sup1",   L"ordm",   L"raquo",  L"frac14", L"frac12", L"frac34", L"iquest",
    L"Agrave", L"Aacute", L"Acirc",  L"Atilde", L"Auml",   L"Aring",  L"AElig",  L"Ccedil",
    L"Egrave", L"Eacute", L"Ecirc",  L"Euml",   L"Igrave", L"Iacute", L"Icirc",  L"Iuml",
    L"ETH",    L"Ntilde", L"Ograve", L"Oacute", L"Ocirc",  L"Otilde", L"Ouml",   L"times",
    L"Oslash", L"Ugrave", L"Uacute", L"Ucirc",  L"Uuml",   L"Yacute", L"THORN",  L"szlig",
    L"agrave", L"aacute", L"acirc",  L"atilde", L"auml",   L"aring",  L"aelig",  L"ccedil",
    L"egrave", L"eacute", L"ecirc",  L"euml",   L"igrave", L"iacute", L"icirc",  L"iuml",
    L"eth",    L"ntilde", L"ograve", L"oacute", L"ocirc",  L"otilde", L"ouml",   L"divide",
    L"oslash", L"ugrave", L"uacute", L"ucirc",  L"uuml",   L"yacute", L"thorn",  L"yuml"};

// Recognised without ';' as well (besides the Latin-1 names).
constexpr NamedReference kLegacyOthers[] = {
    {L"amp", U'&'}, {L"AMP", U'&'}, {L"lt", U'<'},     {L"LT", U'<'},    {L"gt", U'>'},
    {L"GT", U'>'},  {L"quot", U'"'}, {L"QUOT", U'"'}, {L"COPY", 0xA9}, {L"REG", 0xAE},
};

// Only with the closing ';'.
constexpr NamedReference kOthers[] = {
    {L"apos", U'\''},   {L"OElig", 338},    {L"oelig", 339},    {L"Scaron", 352},
    {L"scaron", 353},   {L"Yuml", 376},     {L"fnof", 402},     {L"circ", 710},
    {L"tilde", 732},    {L"Alpha", 913},    {L"Beta", 914},     {L"Gamma", 915},
    {L"Delta", 916},    {L"Epsilon", 917},  {L"Zeta", 918},     {L"Eta", 919},
    {L"Theta", 920},    {L"Iota", 921},     {L"Kappa", 922},    {L"Lambda", 923},
    {L"Mu", 924},       {L"Nu", 925},       {L"Xi", 926},       {L"Omicron", 927},
    {L"Pi", 928},       {L"Rho", 929},      {L"Sigma", 931},    {L"Tau", 932},
    {L"Upsilon", 933},  {L"Phi", 934},      {L"Chi", 935},      {L"Psi", 936},
    {L"Omega", 937},    {L"alpha", 945},    {L"beta", 946},     {L"gamma", 947},
    {L"delta", 948},    {L"epsilon", 949},  {L"zeta", 950},     {L"eta", 951},
    {L"theta", 952},    {L"iota", 953},     {L"kappa", 954},    {L"lambda", 955},
    {L"mu", 956},       {L"nu", 957},       {L"xi", 958},       {L"omicron", 959},
    {L"pi", 960},       {L"rho", 961},      {L"sigmaf", 962},   {L"sigma", 963},
    {L"tau", 964},      {L"upsilon", 965},  {L"phi", 966},      {L"chi", 967},
    {L"psi", 968},      {L"omega", 969},    {L"thetasym", 977}, {L"upsih", 978},
    {L"piv", 982},      {L"ensp", 8194},    {L"emsp", 8195},    {L"thinsp", 8201},
    {L"zwnj", 8204},    {L"zwj", 8205},     {L"lrm", 8206},     {L"rlm", 8207},
    {L"ndash", 8211},   {L"mdash", 8212},   {L"lsquo", 8216},   {L"rsquo", 8217},
    {L"sbquo", 8218},   {L"ldquo", 8220},   {L"rdquo", 8221},   {L"bdquo", 8222},
    {L"dagger", 8224},  {L"Dagger", 8225},  {L"bull", 8226},    {L"hellip", 8230},
    {L"permil", 8240},  {L"prime", 8242},   {L"Prime", 8243},   {L"lsaquo", 8249},
    {L"rsaquo", 8250},  {L"oline", 8254},   {L"frasl", 8260},   {L"euro", 8364},
    {L"image", 8465},   {L"weierp", 8472},  {L"real", 8476},    {L"trade", 8482},
    {L"alefsym", 8501}, {L"larr", 8592},    {L"uarr", 8593},    {L"rarr", 8594},
    {L"darr", 8595},    {L"harr", 8596},    {L"crarr", 8629},   {L"lArr", 8656},
    {L"uArr", 8657},    {L"rArr", 8658},    {L"dArr", 8659},    {L"hArr", 8660},
    {L"forall", 8704},  {L"part", 8706},    {L"exist", 8707},   {L"empty", 8709},
    {L"nabla", 8711},   {L"isin", 8712},    {L"notin", 8713},   {L"ni", 8715},
    {L"prod", 8719},    {L"sum", 8721},     {L"minus", 8722},   {L"lowast", 8727},
    {L"radic", 8730},   {L"prop", 8733},    {L"infin", 8734},   {L"ang", 8736},
    {L"and", 8743},     {L"or", 8744},      {L"cap", 8745},     {L"cup", 8746},
    {L"int", 8747},     {L"there4", 8756},  {L"sim", 8764},     {L"cong", 8773},
    {L"asymp", 8776},   {L"ne", 8800},      {L"equiv", 8801},   {L"le", 8804},
    {L"ge", 8805},      {L"sub", 8834},     {L"sup", 8835},     {L"nsub", 8836},
    {L"sube", 8838},    {L"supe", 8839},    {L"oplus", 8853},   {L"otimes", 8855},
    {L"perp", 8869},    {L"sdot", 8901},    {L"lceil", 8968},   {L"rceil", 8969},
    {L"lfloor", 8970},  {L"rfloor", 8971},  {L"lang", 10216},   {L"rang", 10217},
    {L"loz", 9674},     {L"spades", 9824},  {L"clubs", 9827},   {L"hearts", 9829},
    {L"diams", 9830},   {L"NewLine", 10},   {L"Tab", 9},        {L"hyphen", 8208},
    {L"dash", 8208},    {L"lowbar", 95},    {L"num", 35},       {L"percnt", 37},
    {L"commat", 64},    {L"lpar", 40},      {L"rpar", 41},      {L"colon", 58},
    {L"semi", 59},      {L"equals", 61},    {L"quest", 63},     {L"excl", 33},
    {L"dollar", 36},    {L"plus", 43},      {L"comma", 44},     {L"period", 46},
    {L"sol", 47},       {L"bsol", 92},      {L"lsqb", 91},      {L"rsqb", 93},
    {L"lcub", 123},     {L"rcub", 125},     {L"verbar", 124},   {L"ast", 42},
};

void Consider(std::wstring_view text, std::wstring_view name, char32_t codePoint, bool legacy,
              std::optional<NamedReferenceMatch>& best) {
    if (text.substr(0, name.size()) != name) return;
    const bool semicolon = text.size() > name.size() && text[name.size()] == L';';
    if (!semicolon && !legacy) return;
    const std::size_t length = name.size() + (semicolon ? 1 : 0);
    if (!best || length > best->length) best = NamedReferenceMatch{length, codePoint, semicolon};
}

}  // namespace

std::optional<NamedReferenceMatch> MatchNamedReference(std::wstring_view text) {
    std::optional<NamedReferenceMatch> best;
    for (std::size_t i = 0; i < kLatin1Names.size(); ++i) {
        Consider(text, kLatin1Names[i], static_cast<char32_t>(0xA0 + i), true, best);
    }
    for (const NamedReference& reference : kLegacyOthers) {
        Consider(text, reference.name, reference.codePoint, true, best);
    }
    for (const NamedReference& reference : kOthers) {
        Consider(text, reference.name, reference.codePoint, false, best);
    }
    return best;
}

char32_t NumericReferenceCharacter(std::uint32_t value) {
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0xFFFD;
    if (value >= 0x80 && value <= 0x9F) {
        const char32_t mapped = Cp1252HighCharacter(static_cast<unsigned char>(value));
        return mapped != 0 ? mapped : value;
    }
    return value;
}

}  // namespace qv::html
