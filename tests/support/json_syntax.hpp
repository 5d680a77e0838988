// SPDX-License-Identifier: MIT
#pragma once
// A strict check of JSON syntax (RFC 8259): one value, nothing after it;
// strings with their escapes, numbers in JSON's form only (no NaN, inf,
// leading zeros or hexadecimal).  For tests of the JSON the program writes.
#include <cctype>
#include <string_view>

namespace gndfit::test {

class JsonSyntax {
 public:
  static bool valid(std::string_view text) {
    JsonSyntax p(text);
    return p.value() && (p.skip_blanks(), p.at_ == text.size());
  }

 private:
  explicit JsonSyntax(std::string_view text) : text_(text) {}

  void skip_blanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' ||
                                  text_[at_] == '\r')) {
      ++at_;
    }
  }
  bool eat(char c) {
    skip_blanks();
    if (at_ < text_.size() && text_[at_] == c) return ++at_, true;
    return false;
  }
  bool word(std::string_view w) {
    if (text_.substr(at_, w.size()) != w) return false;
    at_ += w.size();
    return true;
  }
  bool digit() const { return at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])); }
  bool digits() {
    if (!digit()) return false;
    while (digit()) ++at_;
    return true;
  }
  bool number() {
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    if (at_ < text_.size() && text_[at_] == '0') {
      ++at_;
    } else if (!digits()) {
      return false;
    }
    if (at_ < text_.size() && text_[at_] == '.' && (++at_, !digits())) return false;
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      if (!digits()) return false;
    }
    return true;
  }
  bool string() {
    if (!eat('"')) return false;
    while (at_ < text_.size()) {
      const auto c = static_cast<unsigned char>(text_[at_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c != '\\') continue;
      if (at_ == text_.size()) return false;
      const char e = text_[at_++];
      if (e == 'u') {
        for (int i = 0; i < 4; ++i, ++at_) {
          if (at_ == text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[at_]))) return false;
        }
      } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
        return false;
      }
    }
    return false;
  }
  template <typename Item>
  bool sequence(char close, Item item) {
    if (eat(close)) return true;
    do {
      if (!item()) return false;
    } while (eat(','));
    return eat(close);
  }
  bool value() {
    skip_blanks();
    if (at_ == text_.size()) return false;
    switch (text_[at_]) {
      case '{':
        ++at_;
        return sequence('}', [this] { return string() && eat(':') && value(); });
      case '[':
        ++at_;
        return sequence(']', [this] { return value(); });
      case '"': return string();
      case 't': return word("true");
      case 'f': return word("false");
      case 'n': return word("null");
      default: return number();
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace gndfit::test
