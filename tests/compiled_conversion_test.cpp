// A drawing's shapes compiled into a .shx file by the library, as the desktop program and
// korvex-cli convert write it: the same bytes as compiling the .shp, whole or not at all.
#include "conversion/compiled_conversion.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "conversion/conversion_run.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::DxfBuilder;
using test::KorvexTest;
using test::ReadFileBytes;
using test::WriteFileBytes;

using CompiledConversionTest = KorvexTest;

TEST_F(CompiledConversionTest, TheCompiledFileIsTheCompiledShp) {
  const std::filesystem::path input =
      Drawing(DxfBuilder().Markers().Line(135, 1760, 215, 1760).Point(140, 1765).Build());
  ASSERT_EQ(ConvertDrawing(input, Scratch("a.shp")), Outcome::kDone);
  int shapes = 0;
  ASSERT_EQ(CompileShapeFile(Scratch("a.shp"), Scratch("a.shx"), &shapes), Outcome::kDone);
  EXPECT_EQ(shapes, 1);
  const std::string compiled = ReadFileBytes(Scratch("a.shx"));
  EXPECT_EQ(compiled.substr(0, 24), std::string("AutoCAD-86 shapes 1.0\r\n\x1a", 24));

  // The .shp under a temporary name, removed afterwards ...
  EXPECT_EQ(ConvertDrawingToShx(input, Scratch("b.SHX"), {}, false), Outcome::kDone);
  EXPECT_EQ(ReadFileBytes(Scratch("b.SHX")), compiled);
  EXPECT_EQ(ScratchNames(), (std::set<std::string>{"in.dxf", "a.shp", "a.shx", "b.SHX"}));
  // ... or kept where asked.
  EXPECT_EQ(ConvertDrawingToShx(input, Scratch("c.shx"), Scratch("c.shp"), false), Outcome::kDone);
  EXPECT_EQ(ReadFileBytes(Scratch("c.shp")), ReadFileBytes(Scratch("a.shp")));
  EXPECT_EQ(ReadFileBytes(Scratch("c.shx")), compiled);
  EXPECT_TRUE(frontend_.messages.empty());
}

// What the compiler would refuse is said, and an existing target keeps its bytes.
TEST_F(CompiledConversionTest, ARefusedCompilationSaysWhyAndWritesNothing) {
  WriteFileBytes(Scratch("bad.shp"), "*1,3,A\n8,(1,0)\n");
  WriteFileBytes(Scratch("bad.shx"), "keep");
  EXPECT_EQ(CompileShapeFile(Scratch("bad.shp"), Scratch("bad.shx")), Outcome::kRefused);
  EXPECT_EQ(ReadFileBytes(Scratch("bad.shx")), "keep");
  EXPECT_EQ(frontend_.MessageText(0), "Error compiling SHX file " + Scratch("bad.shx").string() +
                                          "\nshape 1 (A): no final 0");
  EXPECT_EQ(ScratchNames(), (std::set<std::string>{"bad.shp", "bad.shx"}));
  // A drawing refused before compiling leaves no temporary .shp either.
  frontend_.messages.clear();
  EXPECT_EQ(ConvertDrawingToShx(Drawing(DxfBuilder().Build()), Scratch("d.shx"), {}, false),
            Outcome::kRefused);
  EXPECT_FALSE(frontend_.messages.empty());
  EXPECT_EQ(ScratchNames(), (std::set<std::string>{"bad.shp", "bad.shx", "in.dxf"}));
}

TEST(CompiledShapePathTest, TheExtensionInAnyCaseDecides) {
  EXPECT_TRUE(IsCompiledShapePath("a.shx"));
  EXPECT_TRUE(IsCompiledShapePath("dir.x/A.SHX"));
  EXPECT_FALSE(IsCompiledShapePath("a.shp"));
  EXPECT_FALSE(IsCompiledShapePath("a.shx.txt"));
  EXPECT_FALSE(IsCompiledShapePath("shx"));
}

}  // namespace
}  // namespace korvex
