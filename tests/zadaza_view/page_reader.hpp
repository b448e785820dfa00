// A strict reader of the viewer's page as XML: elements, attributes and text, nothing else.
// Anything not well-formed (an unclosed or crossed tag, an unquoted or repeated attribute, a
// stray '<' or '&', an unknown entity) is an error.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace view_test {

struct Element {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::vector<Element> children;
  std::string text;  // all text directly inside, entities resolved

  std::string attribute(const std::string& key) const {
    const auto found = attributes.find(key);
    return found == attributes.end() ? std::string() : found->second;
  }
  bool has_class(std::string_view css_class) const;
};

// Parses the document (an optional <!DOCTYPE ...> then one root element). Returns an empty text,
// or what is wrong and where.
std::string parse_document(std::string_view document, Element& root);

// Every element below `root` (root included) for which `wanted` holds, in document order.
template <typename Predicate>
void collect(const Element& root, Predicate wanted, std::vector<const Element*>& found) {
  if (wanted(root)) found.push_back(&root);
  for (const Element& child : root.children) collect(child, wanted, found);
}

std::vector<const Element*> with_class(const Element& root, std::string_view css_class);
std::vector<const Element*> named(const Element& root, std::string_view name);

}  // namespace view_test
