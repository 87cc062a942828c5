// Output names whose bytes are not well-formed Shift-JIS: a lead byte without a valid partner
// must not hide a path separator from the check that keeps files inside the output folder.
#include "fault_support.h"

#include "definition/file_name.h"
#include "definition/loop_definition.h"
#include "platform/native_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace {

using namespace faults;

TEST(FaultNames, RefusesSeparatorsBehindALeadByteWithoutPartner)
{
    EXPECT_FALSE(isPlainFileName("x\x81/y.wav"));
    EXPECT_FALSE(isPlainFileName("x\x81:y.wav"));
    EXPECT_FALSE(isPlainFileName("\x9f/"));
    EXPECT_TRUE(isPlainFileName("x\x81\\y.wav")) << "0x81 0x5C is one two-byte character";
}

TEST(FaultNames, PieceNamedWithAHiddenSeparatorWritesNothingInASubfolder)
{
    TempFolder root;
    const std::string out = root.file("out");
    ASSERT_TRUE(makeFolder(out));
    ASSERT_TRUE(writeFileBytes(root.file("bgm.dat"), patternBytes(0, 100)));
    // The name as the system would see it leads into this folder.
    const std::string system = nativeText("x\x81/y.wav");
    const std::string subfolder = joinPath(out, system.substr(0, system.find('/')));
    ASSERT_TRUE(makeFolder(subfolder));
    PieceText p;
    p.file = "x\x81/y.wav";
    p.wave_size = 100;
    p.loop_size = 100;
    ASSERT_TRUE(writeFileBytes(root.file("names.mrl"), definitionText({p})));
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(root.file("names.mrl")));
    OutputOptions options;
    options.bgmFolder = root.path();
    options.outputFolder = out;
    FaultFrontEnd frontEnd;

    ConversionCounts counts = convertPieces(definition, options, {0}, frontEnd);

    // Windows' profile reading turns the broken character into another one on the way in; the
    // name it gives is plain and may be written, but only directly into the output folder.
    EXPECT_EQ(counts.successes + counts.failures, 1u);
    EXPECT_EQ(counts.failures, isPlainFileName(definition.entries()[0].file) ? 0u : 1u);
    EXPECT_TRUE(listFolder(subfolder).empty());
    EXPECT_LE(listFolder(out).size(), 2u);
}

} // namespace
