// Filling the page's template. Every text from outside (title, author,
// copyright, clues) goes in either escaped as HTML or inside a JSON data
// block whose '<', '>' and '&' are written as \u escapes, so that no clue
// can close the block or open markup of its own.
#include "page/puzzle_page.h"

#include <cerrno>
#include <map>
#include <nlohmann/json.hpp>
#include <string_view>

#include "page/page_template.h"

namespace arrowgrid {

namespace {

constexpr std::string_view UNTITLED = "Mots fléchés";

std::string htmlEscaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

// JSON text safe inside a <script> element: the three characters only
// occur inside strings, where the escapes mean the same.
std::string scriptSafe(std::string_view json) {
  std::string safe;
  for (const char c : json) {
    switch (c) {
      case '<': safe += "\\u003c"; break;
      case '>': safe += "\\u003e"; break;
      case '&': safe += "\\u0026"; break;
      default: safe += c;
    }
  }
  return safe;
}

// The clues the page breaks differently from their text, by their text.
std::string breaksJson(const PuzzlePage& page) {
  nlohmann::ordered_json breaks = nlohmann::ordered_json::object();
  const std::vector<std::string>& clues = page.puzzle.clues;
  for (size_t word = 0; word < clues.size() && word < page.brokenClues.size(); ++word) {
    if (!page.brokenClues[word].empty() && page.brokenClues[word] != clues[word])
      breaks[clues[word]] = page.brokenClues[word];
  }
  return breaks.dump();
}

std::string creditLine(const char* cssClass, std::string_view text) {
  if (text.empty()) return {};
  return "<p class=\"" + std::string(cssClass) + "\">" + htmlEscaped(text) + "</p>";
}

}  // namespace

std::string puzzlePageText(const PuzzlePage& page, std::string& error) {
  const std::string ipuz = ipuzText(page.puzzle, error);
  if (!error.empty()) return {};
  const std::string title = page.puzzle.title.empty() ? std::string(UNTITLED) : page.puzzle.title;
  const std::map<std::string_view, std::string> fields = {
      {"%%TITLE%%", htmlEscaped(title)},
      {"%%AUTHOR%%", creditLine("author", page.puzzle.author)},
      {"%%COPYRIGHT%%", creditLine("copyright", page.puzzle.copyright)},
      {"%%PUZZLE%%", scriptSafe(ipuz)},
      {"%%BREAKS%%", scriptSafe(breaksJson(page))},
  };
  // One pass over the template: a field's text is never searched for markers.
  std::string text;
  text.reserve(PAGE_TEMPLATE.size() + ipuz.size() * 2);
  size_t at = 0;
  while (at < PAGE_TEMPLATE.size()) {
    const size_t marker = PAGE_TEMPLATE.find("%%", at);
    const size_t end = marker == std::string_view::npos ? marker : PAGE_TEMPLATE.find("%%", marker + 2);
    if (end == std::string_view::npos) {
      text.append(PAGE_TEMPLATE.substr(at));
      break;
    }
    text.append(PAGE_TEMPLATE.substr(at, marker - at));
    const auto field = fields.find(PAGE_TEMPLATE.substr(marker, end + 2 - marker));
    text.append(field != fields.end() ? std::string_view(field->second)
                                      : PAGE_TEMPLATE.substr(marker, end + 2 - marker));
    at = end + 2;
  }
  return text;
}

std::string writePuzzlePage(const PuzzlePage& page, const std::string& path, ExistingFile existing) {
  std::string error;
  const std::string text = puzzlePageText(page, error);
  if (!error.empty()) return "cannot write " + path + ": " + error;
  return writeTextSafely(path, existing, text);
}

}  // namespace arrowgrid
