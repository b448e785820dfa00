#include "page_reader.hpp"

#include <cctype>

namespace view_test {
namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  std::string document(Element& root) {
    skip_space();
    if (starts("<!DOCTYPE")) {
      const std::size_t end = text_.find('>', at_);
      if (end == std::string_view::npos) return "unclosed DOCTYPE";
      at_ = end + 1;
    }
    skip_space();
    if (!element(root)) return error_;
    skip_space();
    if (at_ != text_.size()) fail("text after the root element");
    return error_;
  }

 private:
  bool starts(std::string_view s) const { return text_.substr(at_, s.size()) == s; }
  void skip_space() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  bool fail(const std::string& what) {
    if (error_.empty()) error_ = what + " at byte " + std::to_string(at_);
    return false;
  }

  static bool name_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':' ||
           c == '.';
  }

  bool name(std::string& out) {
    const std::size_t start = at_;
    while (at_ < text_.size() && name_char(text_[at_])) ++at_;
    out = text_.substr(start, at_ - start);
    if (out.empty() || !std::isalpha(static_cast<unsigned char>(out[0]))) return fail("bad name");
    return true;
  }

  // Text up to `stop`, entities resolved; '<' inside is an error.
  bool characters(char stop, std::string& out) {
    while (at_ < text_.size() && text_[at_] != stop) {
      const char c = text_[at_];
      if (c == '<') return fail("stray '<'");
      if (c == '&') {
        if (!entity(out)) return false;
        continue;
      }
      out += c;
      ++at_;
    }
    return true;
  }

  bool entity(std::string& out) {
    const std::size_t end = text_.find(';', at_);
    if (end == std::string_view::npos || end - at_ > 10) return fail("stray '&'");
    const std::string_view e = text_.substr(at_ + 1, end - at_ - 1);
    static const std::map<std::string_view, char> named{
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    if (const auto found = named.find(e); found != named.end()) {
      out += found->second;
    } else if (e.size() > 1 && e[0] == '#' &&
               e.substr(1).find_first_not_of("0123456789") == std::string_view::npos) {
      out += '?';  // a character reference; its value does not matter here
    } else {
      return fail("unknown entity");
    }
    at_ = end + 1;
    return true;
  }

  bool attributes(Element& e) {
    for (;;) {
      skip_space();
      if (at_ >= text_.size()) return fail("unclosed tag");
      if (text_[at_] == '>' || starts("/>")) return true;
      std::string key;
      if (!name(key)) return false;
      if (!starts("=\"")) return fail("attribute without a quoted value");
      at_ += 2;
      std::string value;
      if (!characters('"', value)) return false;
      if (at_ >= text_.size()) return fail("unclosed attribute");
      ++at_;
      if (!e.attributes.emplace(key, value).second) return fail("repeated attribute");
    }
  }

  bool element(Element& e) {
    if (!starts("<")) return fail("element expected");
    ++at_;
    if (!name(e.name) || !attributes(e)) return false;
    if (starts("/>")) {
      at_ += 2;
      return true;
    }
    ++at_;
    for (;;) {
      if (!characters('<', e.text)) return false;
      if (at_ >= text_.size()) return fail("unclosed <" + e.name + ">");
      if (starts("</")) {
        at_ += 2;
        std::string closing;
        if (!name(closing)) return false;
        if (closing != e.name) return fail("</" + closing + "> closes <" + e.name + ">");
        skip_space();
        if (!starts(">")) return fail("bad closing tag");
        ++at_;
        return true;
      }
      e.children.emplace_back();
      if (!element(e.children.back())) return false;
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
  std::string error_;
};

}  // namespace

bool Element::has_class(std::string_view css_class) const {
  const std::string classes = attribute("class");
  std::size_t start = 0;
  while (start <= classes.size()) {
    const std::size_t end = std::min(classes.find(' ', start), classes.size());
    if (std::string_view(classes).substr(start, end - start) == css_class) return true;
    start = end + 1;
  }
  return false;
}

std::string parse_document(std::string_view document, Element& root) {
  return Reader(document).document(root);
}

std::vector<const Element*> with_class(const Element& root, std::string_view css_class) {
  std::vector<const Element*> found;
  collect(root, [&](const Element& e) { return e.has_class(css_class); }, found);
  return found;
}

std::vector<const Element*> named(const Element& root, std::string_view name) {
  std::vector<const Element*> found;
  collect(root, [&](const Element& e) { return e.name == name; }, found);
  return found;
}

}  // namespace view_test
