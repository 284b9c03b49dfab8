#pragma once
// Form controls and form submission as browsers do them: form owners, the
// current values of controls, the entry list of a submission and its
// application/x-www-form-urlencoded encoding.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "HtmlCharset.h"
#include "HtmlDocument.h"
#include "HtmlDom.h"

namespace qv::html {

using FormEntries = std::vector<std::pair<std::wstring, std::wstring>>;

bool IsListedElement(const Element& element);
// The lower-cased type of an input, "text" for a missing or unknown one.
std::wstring InputType(const Element& input);
bool IsSubmitButton(const Element& element);
bool IsDisabledControl(const Element& element);
Element* FindElementById(const Node& root, std::wstring_view id);
Element* FormOwner(const Node& root, const Element& element);
std::wstring ControlValue(const Element& control);
bool ControlChecked(const Element& control);
std::vector<const Element*> SelectedOptions(const Element& select);
std::wstring OptionValue(const Element& option);

FormEntries ConstructEntryList(const Node& root, const Element& form, const Element* submitter);
// Spaces as '+'; ASCII letters, digits and * - . _ as they are; every other
// byte percent-encoded. Characters the charset cannot hold are sent as &#N;.
std::string UrlEncodeEntries(const FormEntries& entries, Charset charset);

// `submitter` is the submit button clicked, or null.
std::optional<FormRequest> SubmitForm(const Node& root, const Element& form,
                                      const Element* submitter, std::wstring_view baseUrl,
                                      std::wstring_view documentUrl, Charset charset);

}  // namespace qv::html
