// A part's text streamed piece by piece (points markers put in place across pieces), deflated
// as it comes (in blocks on several threads), and the memory of the XML trees.
#include "workbook/detail/DeflateJobs.h"
#include "workbook/detail/DeflatedPart.h"
#include "workbook/detail/PartText.h"
#include "workbook/detail/TreeMemory.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <new>
#include <string>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace workbook::detail;

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KRV_TEST_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KRV_TEST_SANITIZED 1
#endif

namespace {

constexpr const char* kDeclaration = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";

std::string inflateRaw(const DeflatedPart& part) {
    std::string out(part.size, '\0');
    z_stream stream{};
    EXPECT_EQ(inflateInit2(&stream, -MAX_WBITS), Z_OK);
    stream.next_in = reinterpret_cast<Bytef*>(part.data.get());
    stream.avail_in = uInt(part.compressedSize);
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
    EXPECT_EQ(stream.total_out, part.size);
    inflateEnd(&stream);
    return out;
}

// A document of `count` markers, each after a run of `filler` characters, so that markers fall
// on every position of the writer's pieces, cut anywhere.
pugi::xml_document markedDocument(int count, size_t filler) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("r");
    for (int i = 0; i < count; ++i) {
        root.append_child("f").text().set(std::string(filler + size_t(i % 17), 'x').c_str());
        root.append_child(pugi::node_pi).set_name("krv-points");
        root.last_child().set_value(std::to_string(i % 3).c_str());
    }
    return doc;
}

// The expected text: the markers replaced by hand.
std::string expanded(int count, size_t filler, const std::vector<CachePoints>& runs) {
    std::string out = std::string(kDeclaration) + "<r>";
    for (int i = 0; i < count; ++i) {
        out +=
            "<f>" + std::string(filler + size_t(i % 17), 'x') + "</f>" + runs[size_t(i % 3)].text();
    }
    return out + "</r>";
}

std::vector<CachePoints> runsOf(int points) {
    std::vector<CachePoints> runs(3, CachePoints("c:"));
    runs[0].addNumber(0, 1.5);
    for (int i = 0; i < points; ++i) {
        runs[2].addText(i, "Day " + std::to_string(i));
    }
    return runs; // runs[1] has no points
}

} // namespace

TEST(PartStreamTest, MarkersCutBetweenPiecesArePutInPlace) {
    const std::vector<CachePoints> small = runsOf(1);
    const std::vector<CachePoints> large = runsOf(5000);
    const struct {
        int count;
        size_t filler;
        const std::vector<CachePoints>& texts;
    } cases[] = {
        {20000, 1, small}, // markers are most of the text: the pieces end inside them
        {3000, 40, small},
        {60, 65530, large}, // points and fillers longer than a piece
    };
    for (const auto& c : cases) {
        const pugi::xml_document doc = markedDocument(c.count, c.filler);
        const std::string want = expanded(c.count, c.filler, c.texts);
        EXPECT_EQ(serialise(doc, c.texts), want) << "filler " << c.filler;

        PartDeflater deflater;
        size_t pieces = 0;
        writePart(doc, c.texts, [&](std::string_view piece) {
            ++pieces;
            deflater.write(piece);
        });
        const DeflatedPart part = deflater.finish();
        EXPECT_EQ(part.size, want.size());
        EXPECT_EQ(part.crc, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(want.data()),
                                           uInt(want.size()))));
        EXPECT_EQ(inflateRaw(part), want) << "filler " << c.filler;
        EXPECT_GT(pieces, size_t(2));
    }
}

TEST(PartStreamTest, PointsAreWrittenAsTheirXml) {
    CachePoints numbers("c:");
    for (const double v : {0.1, -12345.678901234, 1e-7, 46000.0, 0.0}) {
        numbers.addNumber(int(v > 1 ? 9 : 2), v);
    }
    EXPECT_EQ(numbers.text(), R"(<c:pt idx="2"><c:v>0.1</c:v></c:pt>)"
                              R"(<c:pt idx="2"><c:v>-12345.678901234</c:v></c:pt>)"
                              R"(<c:pt idx="2"><c:v>1e-07</c:v></c:pt>)"
                              R"(<c:pt idx="9"><c:v>46000</c:v></c:pt>)"
                              R"(<c:pt idx="2"><c:v>0</c:v></c:pt>)");
    CachePoints texts("");
    texts.addText(7, "A & <B> \x01 \"q\"\t");
    EXPECT_EQ(texts.text(), "<pt idx=\"7\"><v>A &amp; &lt;B&gt; &#01; \"q\"\t</v></pt>");
    EXPECT_TRUE(texts.writes(texts.text()));
    EXPECT_FALSE(texts.writes(texts.text() + " "));
    EXPECT_FALSE(texts.writes(texts.text().substr(1)));
    EXPECT_FALSE(texts == numbers);
    EXPECT_TRUE(runsOf(3000)[2].writes(runsOf(3000)[2].text())) << "compared across pieces";
}

TEST(PartStreamTest, WithoutPointsTheTreeIsWrittenAsItStands) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<?xml version=\"1.0\"?><a><?krv-points 0?><b>&amp;</b></a>",
                                pugi::parse_default | pugi::parse_declaration | pugi::parse_pi));
    EXPECT_EQ(serialise(doc), "<?xml version=\"1.0\"?><a><?krv-points 0?><b>&amp;</b></a>");
    // A marker with a long run of digits is no marker: nothing waits for its end.
    pugi::xml_document odd;
    ASSERT_TRUE(odd.load_string("<a><?krv-points 1234567890123456789012345?></a>",
                                pugi::parse_default | pugi::parse_pi));
    EXPECT_EQ(serialise(odd, runsOf(1)),
              std::string(kDeclaration) + "<a><?krv-points 1234567890123456789012345?></a>");
}

TEST(PartStreamTest, DeflatedPartsRoundTripWhateverTheirSize) {
    PartDeflater deflater; // one for all: it takes part after part
    for (const size_t size : {size_t(0), size_t(1), size_t(300000), size_t(5000000), size_t(10)}) {
        std::string bytes(size, '\0');
        unsigned state = 7;
        for (char& c : bytes) {
            state = state * 1103515245u + 12345u;
            c = char((state >> 16) & 0xff); // incompressible: the output grows past its start
        }
        deflater.write(std::string_view(bytes).substr(0, size / 3));
        deflater.write(std::string_view(bytes).substr(size / 3));
        const DeflatedPart part = deflater.finish();
        EXPECT_EQ(part.size, size);
        EXPECT_EQ(inflateRaw(part), bytes) << size;
    }
}

TEST(PartStreamTest, TreePagesAreReusedWhenFreedAndFromTheStartWhenNoTreeIsLeft) {
    const TreeMemoryStats before = treeMemoryStats();
    std::vector<void*> blocks;
    for (int i = 0; i < 2100; ++i) { // more than one region of 64 MiB
        blocks.push_back(allocateTreeMemory(32768 + 64));
        static_cast<char*>(blocks.back())[32768] = char(i);
    }
    void* large = allocateTreeMemory(1 << 20); // not a page: carved among the larger blocks
    EXPECT_EQ(treeMemoryStats().liveBlocks, before.liveBlocks + 2100);
    EXPECT_GE(treeMemoryStats().regions, size_t(2));
    void* last = blocks.back();
    freeTreeMemory(last);
    blocks.pop_back();
    EXPECT_EQ(allocateTreeMemory(100), last) << "a freed block is handed out again";
    blocks.push_back(last);
    freeTreeMemory(large);
    for (void* block : blocks) {
        freeTreeMemory(block);
    }
    EXPECT_EQ(treeMemoryStats().liveBlocks, before.liveBlocks);
    if (before.liveBlocks == 0) {
        const size_t regions = treeMemoryStats().regions;
        // Blocks are carved from the start again, through the regions there are.
        std::vector<void*> again;
        for (int i = 0; i < 2100; ++i) {
            again.push_back(allocateTreeMemory(32768));
            static_cast<char*>(again.back())[0] = 1;
        }
        EXPECT_EQ(again.front(), blocks.front());
        EXPECT_EQ(treeMemoryStats().regions, regions) << "no new region";
        for (void* block : again) {
            freeTreeMemory(block);
        }
    }

    // Trees parsed and edited with it read back the same.
    useTreeMemory();
    std::string xml = "<a>";
    for (int i = 0; i < 20000; ++i) {
        xml += "<c r=\"A" + std::to_string(i + 1) + "\"><v>" + std::to_string(i) + "</v></c>";
    }
    xml += "</a>";
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml.c_str()));
    doc.child("a").first_child().child("v").text().set("a longer value than before");
    EXPECT_EQ(doc.child("a").first_child().child_value("v"),
              std::string("a longer value than before"));
    EXPECT_EQ(doc.child("a").last_child().child_value("v"), std::string("19999"));
}

TEST(PartStreamTest, MemoryAskedAheadIsFaultedInFromACarvingPointInsideAPage) {
#ifdef KRV_TEST_SANITIZED
    GTEST_SKIP() << "sanitized builds give the trees the general allocator";
#else
    const auto page = uintptr_t(sysconf(_SC_PAGESIZE));
#ifdef MADV_POPULATE_WRITE
    void* probe = mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(probe, MAP_FAILED);
    const bool canFaultAhead = madvise(probe, page, MADV_POPULATE_WRITE) == 0;
    munmap(probe, page);
    if (!canFaultAhead) {
        GTEST_SKIP() << "the system cannot fault memory in ahead";
    }
#else
    GTEST_SKIP() << "the system cannot fault memory in ahead";
#endif
    useTreeMemory();
    // A larger block of an odd size leaves the carving point of the larger blocks inside a page.
    void* odd = allocateTreeMemory((size_t(1) << 20) + 100);
    const size_t ahead = size_t(8) << 20;
    prefaultTreeMemory(0, ahead);
    // The next larger block is carved where the memory asked for ahead starts: its pages come in
    // without being touched here.
    char* next = static_cast<char*>(allocateTreeMemory(ahead / 2));
    const uintptr_t from = (reinterpret_cast<uintptr_t>(next) + page - 1) & ~(page - 1);
    const size_t length = size_t(4) << 20;
    std::vector<unsigned char> resident(length / page);
    const auto residentPages = [&] {
        if (mincore(reinterpret_cast<void*>(from), length, resident.data()) != 0) {
            return size_t(0);
        }
        size_t count = 0;
        for (const unsigned char r : resident) {
            count += r & 1;
        }
        return count;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (residentPages() < resident.size() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(residentPages(), resident.size());
    freeTreeMemory(next);
    freeTreeMemory(odd);
#endif
}

TEST(PartStreamTest, PartsDeflatedInBlocksOnThreadsReadBackWholeAndAsSmall) {
    // Text that repeats across block ends (deflate finds its matches in the block before) and
    // text that does not compress; sizes told wrongly, written in pieces of odd sizes.
    const auto repetitive = [](size_t size) {
        std::string text;
        for (int row = 1; text.size() < size; ++row) {
            text += "<row r=\"" + std::to_string(row) + "\"><c r=\"A" + std::to_string(row) +
                    "\" s=\"3\"><v>" + std::to_string(row * 7 % 1000) + "</v></c></row>";
        }
        return text.substr(0, size);
    };
    const auto noise = [](size_t size) {
        std::string text(size, '\0');
        unsigned state = 11;
        for (char& c : text) {
            state = state * 1103515245u + 12345u;
            c = char((state >> 16) & 0xff);
        }
        return text;
    };
    const struct {
        std::string name;
        std::string text;
        size_t told;
    } parts[] = {
        {"empty", "", 0},
        {"small", "<a>1</a>", 8},
        {"one_block_after_the_first", repetitive(2200u << 10), 2200u << 10},
        {"many_blocks_told_small", repetitive(5u << 20), 4096},
        {"incompressible", noise(3u << 20), 3u << 20},
    };
    DeflateJobs jobs;
    for (const auto& part : parts) {
        jobs.add(part.name, part.told, [&part](const TextSink& sink) {
            std::string_view rest = part.text;
            for (size_t n = 1; !rest.empty(); n = n * 3 % 70001 + 1) {
                sink(rest.substr(0, n));
                rest.remove_prefix(std::min(n, rest.size()));
            }
        });
    }
    EXPECT_TRUE(jobs.has("small"));
    EXPECT_FALSE(jobs.has("other"));
    std::map<std::string, DeflatedPart> deflated = jobs.results();
    ASSERT_EQ(deflated.size(), std::size(parts));
    for (const auto& part : parts) {
        const DeflatedPart& out = deflated.at(part.name);
        EXPECT_EQ(out.size, part.text.size()) << part.name;
        EXPECT_EQ(out.crc, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(part.text.data()),
                                          uInt(part.text.size()))))
            << part.name;
        EXPECT_EQ(inflateRaw(out), part.text) << part.name;
        PartDeflater whole;
        whole.write(part.text);
        const DeflatedPart single = whole.finish();
        EXPECT_LE(out.compressedSize, single.compressedSize + single.compressedSize / 50 + 64)
            << part.name << ": blocks deflate about as small as a single run";
    }
}

TEST(PartStreamTest, AFailingPartIsReportedAndStoppedJobsDropTheirParts) {
    {
        DeflateJobs jobs;
        jobs.add("good", 100, [](const TextSink& sink) { sink("<a/>"); });
        jobs.add("bad", 200, [](const TextSink&) { throw std::bad_alloc(); });
        EXPECT_THROW(jobs.results(), std::bad_alloc);
    }
    // Parts still being written when the jobs go are dropped, without waiting for them whole.
    const std::string large(64u << 20, 'x');
    DeflateJobs jobs;
    jobs.add("large", large.size(), [&large](const TextSink& sink) {
        for (size_t at = 0; at < large.size(); at += 4096) {
            sink(std::string_view(large).substr(at, 4096));
        }
    });
}
