// The support drawing from which every working drawing is made, and its copy for a user
// who starts a new set of shapes.
#pragma once

#include <filesystem>
#include <system_error>

namespace korvex {

// The template marker pair: two texts in the name band above cell 256 by which a drawing
// made from the shape sheet template is recognised.
inline constexpr char kTemplateMarkerFirst[] = "KORVEX SHAPE SHEET";
inline constexpr char kTemplateMarkerSecond[] = "TEMPLATE REV 1";

// Support/ShapesTemplate.dxf beside the program; empty when the program's folder is unknown.
std::filesystem::path TemplateDrawingPath();

// True when the template can be opened for reading.
bool TemplateDrawingReadable(const std::filesystem::path& templatePath);

// Copies the template byte for byte, whole or not at all; an existing target is replaced
// only when allowed.
bool CopyTemplateDrawing(const std::filesystem::path& templatePath,
                         const std::filesystem::path& targetPath, bool replaceExisting,
                         std::error_code& error);

}  // namespace korvex
