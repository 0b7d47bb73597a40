// Loads arbitrary bytes as a document and runs the lookups the program makes, then checks that
// every index record stays inside the text and every link inside the table, and reads the text of
// elements reached through the public navigation.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "i18n/xml_reader.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Makes `target` the current child by navigation alone (Rewind, FindChild, Descend); false when it
// is not below the root.
bool Reach(nx7::CXmlReader& reader, uint32_t target) {
  std::vector<uint32_t> path;
  for (uint32_t i = target; i != 0; i = reader.Element(i).parent) path.insert(path.begin(), i);
  if (path.size() < 2 || path[0] != reader.Element(0).firstChild) return false;
  reader.Rewind();
  for (size_t level = 1; level < path.size(); ++level) {
    if (level > 1) Check(reader.Descend());
    // Searching sibling by sibling lands on each in turn: the search starts after the current child.
    for (uint32_t c = reader.Element(path[level - 1]).firstChild;; c = reader.Element(c).nextSibling) {
      Check(c != 0 && reader.FindChild(reader.ElementName(c)) && reader.CurrentChild() == c);
      if (c == path[level]) break;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One reader for every input, as the program keeps one: each load must clear the last.
  static nx7::CXmlReader reader;
  reader.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  (void)reader.ReadXmlValue(u"config", u"str_ok");
  (void)reader.ReadXmlValue(u"firmware", u"current");
  (void)reader.ReadXmlValue(u"a", u"b");

  const size_t textLength = reader.Text().size();
  const uint32_t records = reader.ElementCount() + 1;
  for (uint32_t i = 1; i < records; ++i) {
    const nx7::XmlElementRecord& e = reader.Element(i);
    Check(e.start < textLength && e.length <= textLength - e.start);
    Check((e.tagLengths & 0x3FFFFF) <= e.length && (e.tagLengths >> 22) <= e.length);
    Check(e.parent < i && e.firstChild < records && e.nextSibling < records && e.prevSibling < records);
    Check(e.firstChild == 0 || reader.Element(e.firstChild).parent == i);
    Check(e.nextSibling == 0 || reader.Element(e.nextSibling).parent == e.parent);
  }
  // The text of the first elements, each reached through the navigation calls.
  for (uint32_t i = 1; i < records && i < 64; ++i)
    if (Reach(reader, i)) (void)reader.GetChildText();
  return 0;
}
