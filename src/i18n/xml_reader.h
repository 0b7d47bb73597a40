#pragma once
// A small read-only XML reader: it loads a whole document as UTF-16 text, builds a compact index
// of its elements over that text and answers "the text of element `key` inside element `section`
// below the root". It is lenient: an ill-formed document still yields an index of whatever elements
// could be recognised, and lookups work on that index. It never modifies a document.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nx7 {

// One index record per element: offsets and lengths in UTF-16 units into the document text, and
// links by element index (0 = none). Index 0 is the virtual document node.
struct XmlElementRecord {
  uint32_t start;        // offset of the '<' of the start tag
  uint32_t length;       // start tag to end of end tag; equals the start-tag length when empty
  uint32_t tagLengths;   // start-tag length in the low 22 bits, end-tag length in the high 10 bits
  uint32_t flagsDepth;   // XmlElementFlags in the low 16 bits, nesting depth in the high 16 bits
  uint32_t parent;
  uint32_t firstChild;
  uint32_t nextSibling;
  uint32_t prevSibling;  // for a first child: the parent's last child
};
static_assert(sizeof(XmlElementRecord) == 32);

enum XmlElementFlags : uint16_t {
  kXmlEmptyElement = 0x1,  // written as <name/>
  kXmlNotEnded = 0x2,      // closed without its own end tag (turned into an empty element)
  kXmlIllFormed = 0x4,     // its content held markup that could not be recognised
};

class CXmlReader {
 public:
  // Records per segment of the element table; an index's high 16 bits select the segment.
  static constexpr uint32_t kSegmentRecords = 65536;

  // Documents larger than this are refused: language files and update manifests are a few KB, and
  // the index of a document of tiny elements takes several times its size.
  static constexpr size_t kMaxDocumentBytes = 4 * 1024 * 1024;

  CXmlReader();
  ~CXmlReader();
  CXmlReader(const CXmlReader&) = delete;
  CXmlReader& operator=(const CXmlReader&) = delete;

  // Reads and indexes the file, replacing the previous document, and resets the position.
  // Returns true only when the file was read and parsed without any error and has exactly one
  // top-level element; an unreadable file leaves an empty document (every lookup yields "").
  bool Load(const std::filesystem::path& path);
  // The same for a document already in memory (the file's bytes, byte-order mark included).
  bool LoadFromBytes(std::string_view bytes);

  // Forgets the position: no parent, no current element, no current child.
  void Rewind();
  // With no current element, first makes the root (the first top-level element) current. Then
  // searches the current element's children after the current child (from the first child when
  // there is none) for an element named exactly `name`; on success it becomes the current child.
  // On failure the position is unchanged.
  bool FindChild(std::u16string_view name);
  // Makes the current child the current element (the former current element becomes the parent);
  // there is then no current child. Does nothing and returns false without a current child.
  bool Descend();
  // Decoded text of the current child: "" for none, for an empty element and for an element with
  // child elements; otherwise its text with character references decoded and CDATA sections taken
  // raw, comments and processing instructions skipped, nothing trimmed.
  std::u16string GetChildText() const;
  // Text of the first `key` child of the first `section` child of the root, or, failing that, of
  // the first `section` child inside it, and so on down; "" when no `section` holds a `key`.
  std::u16string ReadXmlValue(std::u16string_view section, std::u16string_view key);

  // What the last load did: reading notes (encoding, length, conversions) and the first parse error.
  const std::u16string& Diagnostic() const { return diagnostic_; }
  // The first parse error of the last load alone ("" when there was none).
  const std::u16string& ParseError() const { return parseError_; }
  // Where in the text the first parse error lies (npos when it has no place, or there is none),
  // and the 1-based line of a text offset, for people looking for it in the file.
  size_t ParseErrorOffset() const { return parseErrorOffset_; }
  size_t LineOf(size_t offset) const;
  // Always 0: names are compared case-sensitively and documents are only read.
  uint32_t DocumentFlags() const { return 0; }

  // Inspection of the document and its index (tests, benchmarks, tools).
  std::u16string_view Text() const { return {text_.get(), textLength_}; }
  uint32_t ElementCount() const { return count_ > 0 ? count_ - 1 : 0; }  // without the document node
  const XmlElementRecord& Element(uint32_t index) const { return Record(index); }
  std::u16string_view ElementName(uint32_t index) const;
  // Bytes held by the element table (every allocated record, the document node included).
  size_t IndexBytes() const;
  uint32_t CurrentParent() const { return parent_; }
  uint32_t CurrentElement() const { return current_; }
  uint32_t CurrentChild() const { return child_; }

 private:
  struct Segment;
  friend class XmlIndexer;

  void Clear();
  bool LoadText(std::string_view bytes, std::u16string& notes);
  void BuildIndex();
  void Reserve(uint32_t records);
  uint32_t Append();
  XmlElementRecord& Record(uint32_t index) { return segments_[index >> 16].records[index & 0xFFFF]; }
  const XmlElementRecord& Record(uint32_t index) const {
    return segments_[index >> 16].records[index & 0xFFFF];
  }
  // Records `error` as the parse error when it is the first (offset: where in the text, or npos).
  void SetError(std::u16string error, size_t offset = std::u16string::npos);
  // Marks the document ill-formed; true when no parse error is recorded yet (worth building one).
  bool IsFirstError();

  struct FreeDeleter {
    void operator()(void* p) const;
  };
  struct Segment {
    std::unique_ptr<XmlElementRecord[], FreeDeleter> records;
    uint32_t size = 0;  // allocated records
  };

  std::unique_ptr<char16_t[], FreeDeleter> text_;
  size_t textLength_ = 0;
  std::vector<Segment> segments_;
  uint32_t count_ = 0;     // records in use, the document node included
  uint32_t capacity_ = 0;  // records allocated over all segments
  uint32_t parent_ = 0;
  uint32_t current_ = 0;
  uint32_t child_ = 0;
  bool wellFormed_ = false;
  std::u16string diagnostic_;
  std::u16string parseError_;
  size_t parseErrorOffset_ = std::u16string::npos;
};

}  // namespace nx7
