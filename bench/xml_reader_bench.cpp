// Loading and indexing with the program's XML reader against pugixml on the same UTF-8 bytes:
// a generated document of 4 MB (just under the reader's limit) and shipped language files. Throughput counts input
// bytes (conversion to UTF-16 included for the reader); "index_B_per_element" is the memory of
// the element structure divided by the number of elements (for pugixml: everything it allocates
// beside its copy of the input, i.e. nodes, attributes and page overhead, measurable only for
// documents too large for the page embedded in its document object).
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "i18n/xml_reader.h"

namespace {

std::string GeneratedDocument() {
  std::string doc = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<catalogue version=\"3\">\n";
  for (int section = 0; doc.size() < 4'000'000; ++section) {
    doc += "  <section id=\"" + std::to_string(section) + "\" name=\"Section " + std::to_string(section) + "\">\n";
    for (int item = 0; item < 20; ++item) {
      const std::string n = std::to_string(section * 20 + item);
      doc += "    <item key=\"k" + n + "\" kind=\"text\">Pointer speed &amp; precision, level " + n + "</item>\n";
      doc += "    <label lang=\"zh\">\xE9\xBC\xA0\xE6\xA0\x87\xE8\xAE\xBE\xE7\xBD\xAE " + n + "</label>\n";
      doc += "    <flag value=\"" + std::to_string(item % 2) + "\"/>\n";
      if (item % 5 == 0) doc += "    <!-- group " + n + " -->\n    <raw><![CDATA[<b>" + n + "</b>]]></raw>\n";
    }
    doc += "  </section>\n";
  }
  doc += "</catalogue>\n";
  return doc;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

const std::string& Input(int which) {
  static const std::string generated = GeneratedDocument();
  static const std::string english = ReadFile(NX7_SOURCE_DIR "/Language/en.xml");
  static const std::string korean = ReadFile(NX7_SOURCE_DIR "/Language/kor.xml");
  return which == 0 ? generated : which == 1 ? english : korean;
}

const char* InputName(int which) { return which == 0 ? "generated 4 MB" : which == 1 ? "en.xml" : "kor.xml"; }

void BM_CXmlReader(benchmark::State& state) {
  const std::string& bytes = Input(int(state.range(0)));
  if (bytes.empty()) return state.SkipWithError("input missing");
  nx7::CXmlReader reader;
  for (auto _ : state) benchmark::DoNotOptimize(reader.LoadFromBytes(bytes));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
  state.SetLabel(InputName(int(state.range(0))));
  state.counters["elements"] = reader.ElementCount();
  state.counters["index_B_per_element"] = double(reader.IndexBytes()) / reader.ElementCount();
}
BENCHMARK(BM_CXmlReader)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Hostile input: 3 MB of nested elements closed by end tags of other names. Each such end tag is
// a recovery step; with a search of every open element per step this took minutes.
std::string HostileDocument(bool distinctNames) {
  std::string doc = "<r>";
  for (int i = 0; doc.size() < 1'500'000; ++i) doc += distinctNames ? "<e" + std::to_string(i) + ">" : "<a>";
  for (int i = 0; doc.size() < 3'000'000; ++i) doc += distinctNames ? "</x" + std::to_string(i) + ">" : "</b>";
  return doc + "</r>";
}

void BM_CXmlReaderHostileEndTags(benchmark::State& state) {
  const std::string bytes = HostileDocument(state.range(0) != 0);
  nx7::CXmlReader reader;
  for (auto _ : state) benchmark::DoNotOptimize(reader.LoadFromBytes(bytes));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
  state.SetLabel(state.range(0) ? "3 MB, distinct names" : "3 MB, one name");
  state.counters["elements"] = reader.ElementCount();
}
BENCHMARK(BM_CXmlReaderHostileEndTags)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// pugixml's allocations, counted through its memory hooks (size kept in a header).
size_t allocated = 0;
void* CountingAllocate(size_t size) {
  auto* block = static_cast<size_t*>(std::malloc(size + 16));
  if (!block) return nullptr;
  *block = size;
  allocated += size;
  return reinterpret_cast<char*>(block) + 16;
}
void CountingDeallocate(void* p) {
  if (!p) return;
  auto* block = reinterpret_cast<size_t*>(static_cast<char*>(p) - 16);
  allocated -= *block;
  std::free(block);
}

size_t CountElements(pugi::xml_node node) {
  size_t n = 0;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
    if (child.type() == pugi::node_element) n += 1 + CountElements(child);
  return n;
}

void BM_Pugixml(benchmark::State& state) {
  const std::string& bytes = Input(int(state.range(0)));
  if (bytes.empty()) return state.SkipWithError("input missing");
  for (auto _ : state) {
    pugi::xml_document doc;
    benchmark::DoNotOptimize(doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
  state.SetLabel(InputName(int(state.range(0))));

  // Memory, from one more load outside the timing with counted allocations. What a one-element
  // document costs beyond its size is pugixml's copy of the input, not structure.
  const auto allocate = pugi::get_memory_allocation_function();
  const auto deallocate = pugi::get_memory_deallocation_function();
  pugi::set_memory_management_functions(CountingAllocate, CountingDeallocate);
  const auto load = [](std::string_view text, pugi::xml_document& doc) {
    const size_t before = allocated;
    doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    return allocated - before;
  };
  size_t copyOverhead, total, elements;
  {
    pugi::xml_document probe;
    copyOverhead = load("<a/>", probe) - 4;
  }
  {
    pugi::xml_document doc;
    total = load(bytes, doc);
    elements = CountElements(doc);
  }
  pugi::set_memory_management_functions(allocate, deallocate);
  state.counters["elements"] = double(elements);
  // A small document fits in the page pugixml keeps inside the document object: nothing is
  // allocated for it and no figure is given.
  if (total > bytes.size() + copyOverhead)
    state.counters["index_B_per_element"] = double(total - bytes.size() - copyOverhead) / double(elements);
}
BENCHMARK(BM_Pugixml)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
