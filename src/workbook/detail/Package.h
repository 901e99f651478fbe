#pragma once

#include "workbook/detail/PartText.h"

#include <pugixml.hpp>

#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct zip;

namespace workbook::detail {

class DeflateJobs;
class PartReader;

// One relationship of a part, its target resolved to a part name ("xl/worksheets/sheet1.xml").
struct Relationship {
    std::string id;
    std::string type;
    std::string target;
    bool external = false;
};

// Part names in a package compare ignoring the case of a..z.
bool samePartName(const std::string& a, const std::string& b);
struct PartNameLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

// What a package may take in memory, set from the largest task lists real workbooks hold: a
// worksheet of 1,048,576 rows by 30 columns of numbers is about 1.1 GB of XML, with three tree
// nodes counted for each cell (its element, its value's element and the value's text) and one
// or two attributes (its reference, its style). A worksheet's tree takes about 75 bytes a node
// (measured on sheets of empty cells) and 40 an attribute beside its text, so that these limits
// also bound the memory a part's tree takes, whatever its XML holds: at most about 12 GB, where
// the largest sheet above takes about 7 GB. Nodes are counted as the text is inflated: every '<'
// that does not close an element and every '>' followed by text; attributes as every '='. No part
// may inflate to more than kMaxPartSize, nor all parts together to more than kMaxInflatedTotal:
// both are checked against the sizes the zip directory declares before a part is inflated, and a
// part may not inflate to more than its declared size.
inline constexpr uint64_t kMaxPartSize = uint64_t(2) << 30;
inline constexpr uint64_t kMaxInflatedTotal = uint64_t(3) << 30;
inline constexpr uint64_t kMaxPartNodes = 150'000'000;
inline constexpr uint64_t kMaxPartAttributes = 100'000'000;
// Parts declared at least this large are read through once, counted and not kept, before they
// are parsed: a part beyond the limits is then refused before its tree takes any memory (at
// the cost of inflating a sheet of a million rows twice). Below it no part can pass the node or
// attribute limits, and a tree of the densest XML takes about half a gigabyte.
inline constexpr uint64_t kCountedAheadSize = uint64_t(16) << 20;
// The deepest element nesting a part may have: real parts nest a few dozen levels at most, and
// removing a subtree recurses once per level.
inline constexpr int kMaxXmlDepth = 256;
// Worksheets from this size on are parsed while they are inflated (see StreamedParse.h).
inline constexpr uint64_t kStreamedParseSize = uint64_t(2) << 20;

// The OOXML package: the zip archive held in memory, one entry per part. A part is parsed on
// first use and edited in place; a part that was never marked modified is written back with its
// original compressed bytes, untouched.
class Package {
public:
    // Reads the archive from memory; raises workbook::Error when it is not a zip archive.
    Package(std::string archiveBytes, const QString& fileName);
    ~Package();
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    bool has(const std::string& part) const;
    // Part names in archive order (added parts last).
    std::vector<std::string> partNames() const;

    // The part's current bytes (serialised again when its XML was edited).
    std::string bytes(const std::string& part) const;
    // The part's XML tree, parsed on first use with whitespace-only text kept.
    pugi::xml_document& xml(const std::string& part);
    bool isParsed(const std::string& part) const;
    // The chart points that markers in the part's XML tree stand for (see ChartCache.h), put in
    // their places whenever the part is serialised.
    std::vector<CachePoints>& points(const std::string& part);
    // Records that the part's XML tree was changed; it is serialised and deflated on save.
    void markModified(const std::string& part);
    bool isModified(const std::string& part) const;
    // Adds or replaces a part with raw bytes.
    void setBytes(const std::string& part, std::string bytes);
    void remove(const std::string& part);

    // Relationships of a part (from its _rels part), targets resolved.
    std::vector<Relationship> relationships(const std::string& part);
    static std::string relsPartOf(const std::string& part);
    static std::string resolveTarget(const std::string& sourcePart, const std::string& target);
    // Removes the relationship with that resolved target from the part's _rels part.
    void removeRelationshipTo(const std::string& sourcePart, const std::string& target);

    // Content type of a part from [Content_Types].xml (override, then default by extension).
    std::string contentType(const std::string& part);
    void setContentTypeOverride(const std::string& part, const std::string& type);
    void removeContentTypeOverride(const std::string& part);

    // Starts deflating the changed parts among `parts` on threads while the caller goes on:
    // their text must not change until writeTo, which takes them from there.
    void deflateAhead(const std::vector<std::string>& parts);
    // Drops what deflateAhead started and not yet written.
    void stopDeflating();
    // Writes the package to `path`: untouched parts copied without recompression, changed
    // parts deflated at a fast level. Raises workbook::Error on failure.
    void writeTo(const QString& path);

private:
    // Hands a changed part to the deflating threads (once).
    void addDeflateJob(const std::string& part);

    struct Entry {
        int64_t index = -1; // in the source archive, -1 for an added part
        bool modified = false;
        bool removed = false;
        // The part's tree, and the text it was parsed from in place (declared first so that
        // it outlives the tree).
        std::unique_ptr<std::string> docText;
        std::unique_ptr<pugi::xml_document> doc;
        size_t textSize = 0; // of the text the tree was parsed from
        std::unique_ptr<std::string> replacement;
        std::vector<CachePoints> points;
        mutable bool counted = false; // its inflated size is in inflatedTotal_
        mutable bool checked = false; // large, and read through within the limits
    };
    std::string readOriginal(const Entry& entry, const std::string& part) const;
    // Reads a large part through once without keeping it, so that it is refused before any
    // memory is taken when it passes the limits.
    void checkAhead(const Entry& entry, const std::string& part) const;
    // A reader of the part's original bytes, once a large part was read through.
    std::unique_ptr<PartReader> openPart(const Entry& entry, const std::string& part) const;
    std::string readAll(const Entry& entry, PartReader& reader) const;
    // Counts the part's inflated size against the package's total, once.
    void countInflated(const Entry& entry, uint64_t size) const;
    void parse(Entry& entry, const std::string& part);
    // Raises when the tree nests deeper than a part may.
    void checkParsed(const pugi::xml_document& doc, const std::string& part) const;
    // About how long a changed part's text is (its original text, its chart points), to spread
    // the deflating over threads.
    static size_t textSizeEstimate(const Entry& entry);

    std::string archiveBytes_;
    QString fileName_;
    zip* archive_ = nullptr;
    std::vector<std::string> order_;
    std::map<std::string, Entry, PartNameLess> entries_;
    mutable uint64_t inflatedTotal_ = 0;
    // Declared last: its threads stop before the trees they read go.
    std::unique_ptr<DeflateJobs> deflating_;
};

// Parse options every part uses. An element's leading character data is kept as the element's
// value rather than as a node of its own (a sheet's <v>1</v> is one node, not two: a quarter
// less memory for a large sheet); text() and child_value() read it either way, and it is
// written back where it stood.
inline constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration |
                                          pugi::parse_ws_pcdata | pugi::parse_embed_pcdata;

} // namespace workbook::detail
