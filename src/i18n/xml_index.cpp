// The element index: one pass over the document text with an explicit stack of open elements.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "i18n/xml_reader.h"
#include "i18n/xml_scan.h"

namespace nx7 {

using namespace xml;

namespace {

constexpr uint32_t kMaxStartTagLength = (1u << 22) - 1;
constexpr uint32_t kMaxEndTagLength = (1u << 10) - 1;
constexpr uint32_t kMaxDepth = 0xFFFF;
// Open elements are chained by a hash of their names, so an end tag finds the innermost open
// element of its name without walking the whole stack. The walk along one chain is bounded too:
// names made to collide cannot make recovery quadratic; an end tag whose element lies beyond
// the bound is taken as matching none.
constexpr uint32_t kFirstNameBuckets = 256;  // a power of two; doubled to stay above twice the stack
constexpr uint32_t kMaxChainSteps = 64;

uint32_t NameHash(const char16_t* name, size_t length) {
  uint32_t h = 2166136261u;
  for (size_t k = 0; k < length; ++k) h = (h ^ name[k]) * 16777619u;
  return h;
}

uint32_t StartTagLength(const XmlElementRecord& r) { return r.tagLengths & kMaxStartTagLength; }

}  // namespace

void CXmlReader::FreeDeleter::operator()(void* p) const { std::free(p); }

void CXmlReader::Reserve(uint32_t records) {
  while (capacity_ < records) {
    const uint32_t missing = records - capacity_;
    if (!segments_.empty() && segments_.back().size < kSegmentRecords) {
      // Only the last, partly filled segment is ever reallocated.
      Segment& last = segments_.back();
      const uint32_t size = std::min<uint32_t>(kSegmentRecords, last.size + missing);
      void* grown = std::realloc(last.records.get(), size_t(size) * sizeof(XmlElementRecord));
      if (!grown) throw std::bad_alloc();
      (void)last.records.release();
      last.records.reset(static_cast<XmlElementRecord*>(grown));
      capacity_ += size - last.size;
      last.size = size;
    } else {
      const uint32_t size = std::min<uint32_t>(kSegmentRecords, missing);
      void* block = std::malloc(size_t(size) * sizeof(XmlElementRecord));
      if (!block) throw std::bad_alloc();
      Segment segment;
      segment.records.reset(static_cast<XmlElementRecord*>(block));
      segment.size = size;
      segments_.push_back(std::move(segment));
      capacity_ += size;
    }
  }
}

uint32_t CXmlReader::Append() {
  if (count_ == capacity_) Reserve(capacity_ + std::max<uint32_t>(count_ / 2, 1));
  const uint32_t index = count_++;
  std::memset(&Record(index), 0, sizeof(XmlElementRecord));
  return index;
}

size_t CXmlReader::IndexBytes() const { return size_t(capacity_) * sizeof(XmlElementRecord); }

std::u16string_view CXmlReader::ElementName(uint32_t index) const {
  if (index == 0 || index >= count_) return {};
  const size_t start = Record(index).start + 1;
  return {text_.get() + start, NameEnd(text_.get(), start, textLength_) - start};
}

bool CXmlReader::IsFirstError() {
  wellFormed_ = false;
  return parseError_.empty();
}

void CXmlReader::SetError(std::u16string error, size_t offset) {
  if (!IsFirstError()) return;
  parseError_ = std::move(error);
  parseErrorOffset_ = offset;
}

// The indexing pass. Kept apart from the reader so that its working state (text, stack, cursor)
// lives in locals the compiler can keep in registers.
class XmlIndexer {
 public:
  explicit XmlIndexer(CXmlReader& reader)
      : r_(reader), t_(reader.text_.get()), n_(reader.textLength_), buckets_(kFirstNameBuckets, 0) {
    open_.reserve(32);
  }

  void Run() {
    size_t i = 0;
    for (;;) {
      i = FindUnit(t_, i, n_, u'<');
      if (i >= n_) break;
      const size_t lt = i;
      if (lt + 1 >= n_) {
        Unterminated(u"tag", lt);
        break;
      }
      const char16_t c = t_[lt + 1];
      if (c == u'/') {
        const size_t nameStart = lt + 2;
        // An end tag nearly always closes the innermost element: its name need not be scanned.
        const size_t nameEnd =
            ClosesInnermost(nameStart) ? nameStart + open_.back().nameLength : NameEnd(t_, nameStart, n_);
        const size_t gt = nameEnd < n_ && t_[nameEnd] == u'>' ? nameEnd : FindUnit(t_, nameEnd, n_, u'>');
        if (gt >= n_) {
          Unterminated(u"Element end tag", lt);
          break;
        }
        if (nameStart >= gt || !IsNameStart(t_[nameStart])) {
          Incorrect(u"tag name character", lt);
        } else if (gt + 1 - lt > kMaxEndTagLength) {
          Incorrect(u"tag", lt);
        } else {
          EndTag(lt, nameStart, nameEnd - nameStart, gt);
        }
        i = gt + 1;
      } else if (c == u'?') {
        const size_t end = FindPair(t_, lt + 2, n_, u'?', u'>');
        if (end >= n_) {
          Unterminated(u"Processing instruction", lt);
          break;
        }
        i = end + 2;
      } else if (c == u'!') {
        const char16_t c2 = At(lt + 2);
        size_t end;
        if (c2 == u'-') {
          if (At(lt + 3) != u'-') {
            i = ErrorNode(u"comment tag", lt);
            continue;
          }
          end = FindTriple(t_, lt + 4, n_, u"-->");
          if (end >= n_) {
            Unterminated(u"Comment", lt);
            break;
          }
          i = end + 3;
        } else if (c2 == u'[') {
          if (At(lt + 3) != u'C') {
            i = ErrorNode(u"tag", lt);
            continue;
          }
          end = FindTriple(t_, lt + 3, n_, u"]]>");
          if (end >= n_) {
            Unterminated(u"CDATA Section", lt);
            break;
          }
          i = end + 3;
        } else if (c2 == u'D' || c2 == u'E' || c2 == u'A' || c2 == u'N') {
          end = DeclarationEnd(lt + 2);
          if (end >= n_) {
            Unterminated(c2 == u'D' ? u"Doctype" : u"tag", lt);
            break;
          }
          i = end + 1;
        } else {
          i = ErrorNode(u"! tag", lt);
        }
      } else if (!IsNameStart(c)) {
        i = ErrorNode(u"tag name character", lt);
      } else {
        const size_t nameEnd = NameEnd(t_, lt + 1, n_);
        const size_t gt = nameEnd < n_ && t_[nameEnd] == u'>' ? nameEnd : FindTagEnd(t_, nameEnd, n_);
        if (gt >= n_) {
          Unterminated(u"Element tag", lt);
          break;
        }
        if (gt + 1 - lt > kMaxStartTagLength) {
          Incorrect(u"tag", lt);
        } else {
          StartTag(lt, uint32_t(nameEnd - lt - 1), uint32_t(gt + 1 - lt), t_[gt - 1] == u'/');
        }
        i = gt + 1;
      }
    }
    if (!open_.empty()) {
      const OpenElement& inner = open_.back();
      const uint32_t at = Rec(inner.index).start;
      if (r_.IsFirstError()) r_.SetError(u"Element '" + Name(inner) + u"' at offset " + Decimal(at) + u" not ended", at);
      CloseNotEnded(0);
    }
    const XmlElementRecord& document = Rec(0);
    if (document.firstChild == 0) {
      r_.SetError(u"No root element");
    } else if (Rec(document.firstChild).nextSibling != 0) {
      r_.SetError(u"Root element has sibling");
    }
  }

 private:
  struct OpenElement {
    uint32_t index;
    uint32_t nameLength;
    uint32_t hash;
    uint32_t outerInBucket;  // stack position + 1 of the next outer open element of the same bucket
  };

  XmlElementRecord& Rec(uint32_t index) { return r_.Record(index); }
  char16_t At(size_t i) const { return i < n_ ? t_[i] : 0; }
  uint32_t Innermost() const { return open_.empty() ? 0 : open_.back().index; }
  std::u16string Name(const OpenElement& e) const {
    return std::u16string(t_ + r_.Record(e.index).start + 1, e.nameLength);
  }

  bool ClosesInnermost(size_t nameStart) const {
    if (open_.empty()) return false;
    const OpenElement& e = open_.back();
    const size_t nameEnd = nameStart + e.nameLength;
    return e.nameLength > 0 && nameEnd < n_ && Is(t_[nameEnd], kNameEnd) &&
           SameUnits(t_ + r_.Record(e.index).start + 1, t_ + nameStart, e.nameLength);
  }

  void MarkIllFormed() { Rec(Innermost()).flagsDepth |= kXmlIllFormed; }

  void Incorrect(const char16_t* what, size_t at) {
    if (r_.IsFirstError()) r_.SetError(u"Incorrect " + std::u16string(what) + u" at offset " + Decimal(at), at);
    MarkIllFormed();
  }

  // An unrecognised node runs to the next '>'; returns where scanning goes on.
  size_t ErrorNode(const char16_t* what, size_t lt) {
    Incorrect(what, lt);
    const size_t gt = FindUnit(t_, lt + 1, n_, u'>');
    return gt < n_ ? gt + 1 : n_;
  }

  void Unterminated(const char16_t* kind, size_t lt) {
    if (r_.IsFirstError()) r_.SetError(std::u16string(kind) + u" at offset " + Decimal(lt) + u" unterminated", lt);
    MarkIllFormed();
  }

  // The '>' that ends a DOCTYPE or markup declaration, stepping over quoted strings and over an
  // internal subset in brackets (whose declarations hold '>' of their own).
  size_t DeclarationEnd(size_t from) {
    int brackets = 0;
    for (size_t i = from; i < n_; ++i) {
      const char16_t c = t_[i];
      if (c == u'"' || c == u'\'') {
        i = FindUnit(t_, i + 1, n_, c);
        if (i >= n_) return n_;
      } else if (c == u'[') {
        ++brackets;
      } else if (c == u']') {
        if (brackets > 0) --brackets;
      } else if (c == u'>' && brackets == 0) {
        return i;
      }
    }
    return n_;
  }

  void StartTag(size_t lt, uint32_t nameLength, uint32_t tagLength, bool empty) {
    const uint32_t parent = Innermost();
    const uint32_t index = r_.Append();
    XmlElementRecord& e = Rec(index);
    e.start = uint32_t(lt);
    e.length = tagLength;
    e.tagLengths = tagLength;
    const uint32_t depth = std::min<uint32_t>(uint32_t(open_.size()) + 1, kMaxDepth);
    e.flagsDepth = (depth << 16) | (empty ? kXmlEmptyElement : 0);
    e.parent = parent;
    XmlElementRecord& p = Rec(parent);
    if (p.firstChild == 0) {
      p.firstChild = index;
      e.prevSibling = index;
    } else {
      XmlElementRecord& first = Rec(p.firstChild);
      const uint32_t last = first.prevSibling;
      first.prevSibling = index;
      Rec(last).nextSibling = index;
      e.prevSibling = last;
    }
    if (!empty) Push(index, nameLength);
  }

  void Push(uint32_t index, uint32_t nameLength) {
    const uint32_t hash = NameHash(t_ + Rec(index).start + 1, nameLength);
    if (open_.size() + 1 > buckets_.size() / 2) Rechain(buckets_.size() * 2);
    uint32_t& head = Bucket(hash);
    open_.push_back({index, nameLength, hash, head});
    head = uint32_t(open_.size());
  }

  uint32_t& Bucket(uint32_t hash) { return buckets_[hash & (buckets_.size() - 1)]; }
  uint32_t Bucket(uint32_t hash) const { return buckets_[hash & (buckets_.size() - 1)]; }

  // Spreads the open elements over `count` buckets, keeping every chain innermost first.
  void Rechain(size_t count) {
    buckets_.assign(count, 0);
    for (size_t position = 0; position < open_.size(); ++position) {
      uint32_t& head = Bucket(open_[position].hash);
      open_[position].outerInBucket = head;
      head = uint32_t(position + 1);
    }
  }

  // Pops open elements down to `size`, innermost first: each is the head of its bucket's chain.
  void PopTo(size_t size) {
    while (open_.size() > size) {
      const OpenElement& e = open_.back();
      Bucket(e.hash) = e.outerInBucket;
      open_.pop_back();
    }
  }

  // Stack position of the innermost open element named like the end tag, or npos.
  size_t FindOpen(size_t nameStart, size_t nameLength) const {
    const uint32_t hash = NameHash(t_ + nameStart, nameLength);
    uint32_t position = Bucket(hash);
    for (uint32_t step = 0; position != 0 && step < kMaxChainSteps; ++step) {
      const OpenElement& candidate = open_[position - 1];
      if (candidate.hash == hash && candidate.nameLength == nameLength &&
          SameUnits(t_ + r_.Record(candidate.index).start + 1, t_ + nameStart, nameLength))
        return position - 1;
      position = candidate.outerInBucket;
    }
    return std::string::npos;
  }

  void EndTag(size_t lt, size_t nameStart, size_t nameLength, size_t gt) {
    const size_t k = FindOpen(nameStart, nameLength);
    if (k == std::string::npos) {
      if (r_.IsFirstError())
        r_.SetError(u"No start tag for end tag '" + std::u16string(t_ + nameStart, nameLength) + u"' at offset " +
                        Decimal(lt),
                    lt);
      MarkIllFormed();
      return;
    }
    if (k + 1 < open_.size()) {
      const OpenElement& inner = open_.back();
      if (r_.IsFirstError())
        r_.SetError(u"End tag '" + std::u16string(t_ + nameStart, nameLength) + u"' at offset " + Decimal(lt) +
                        u" does not match start tag '" + Name(inner) + u"' at offset " +
                        Decimal(Rec(inner.index).start),
                    lt);
      CloseNotEnded(k + 1);
    }
    XmlElementRecord& e = Rec(open_[k].index);
    e.length = uint32_t(gt + 1 - e.start);
    e.tagLengths |= uint32_t(gt + 1 - lt) << 22;
    PopTo(k);
  }

  // Closes open_[from..] as not ended: each becomes an empty element and its children follow it
  // as siblings under its parent. Going from the outermost inwards moves every child only once.
  void CloseNotEnded(size_t from) {
    for (size_t k = from; k < open_.size(); ++k) {
      const uint32_t index = open_[k].index;
      XmlElementRecord& e = Rec(index);
      e.length = StartTagLength(e);
      e.flagsDepth |= kXmlNotEnded;
      const uint32_t first = e.firstChild;
      if (first == 0) continue;
      const uint32_t parent = e.parent;
      const uint32_t last = Rec(first).prevSibling;
      for (uint32_t c = first; c != 0; c = Rec(c).nextSibling) Rec(c).parent = parent;
      e.firstChild = 0;
      e.nextSibling = first;  // an open element is always its parent's last child
      Rec(first).prevSibling = index;
      Rec(Rec(parent).firstChild).prevSibling = last;
    }
    PopTo(from);
  }

  CXmlReader& r_;
  const char16_t* t_;
  size_t n_;
  std::vector<OpenElement> open_;
  std::vector<uint32_t> buckets_;  // per bucket: stack position + 1 of its innermost open element
};

void CXmlReader::BuildIndex() {
  Reserve(uint32_t(textLength_ / 64) + 8);
  const uint32_t document = Append();
  Record(document).length = uint32_t(textLength_);
  wellFormed_ = true;
  if (textLength_ == 0) {
    SetError(u"Empty document");
    return;
  }
  XmlIndexer(*this).Run();
  // Give back what the first estimate and the growth rule allocated beyond the last record.
  while (segments_.size() > 1 && (segments_.size() - 1) * size_t(kSegmentRecords) >= count_) {
    capacity_ -= segments_.back().size;
    segments_.pop_back();
  }
  Segment& last = segments_.back();
  const uint32_t used = count_ - uint32_t(segments_.size() - 1) * kSegmentRecords;
  if (used < last.size) {
    if (void* shrunk = std::realloc(last.records.get(), size_t(used) * sizeof(XmlElementRecord))) {
      (void)last.records.release();
      last.records.reset(static_cast<XmlElementRecord*>(shrunk));
      capacity_ -= last.size - used;
      last.size = used;
    }
  }
}

}  // namespace nx7
