// The path texts the shell's dialogs work with: the folder a dialog starts in, the output
// name proposed beside a drawing, and the extensions a chosen name must end in. Paths are
// UTF-8 text as the file dialogs deliver them; both "\" and "/" count as separators, so a
// Windows path reads the same on every platform.
#pragma once

#include <filesystem>
#include <string>

namespace korvex::shell {

// The path's folder with its separator ("C:\work\shapes.dxf" gives "C:\work\"); empty
// when the path names no folder, so that the platform chooses where a dialog starts.
std::string FolderWithSeparator(const std::string& path);

// The file proposed for another: beside it, with its extension replaced (".shp" for a
// drawing's shapes; "C:\my.files\in" gains ".shp": the dot belongs to a folder).
std::string DefaultOutputName(const std::string& inputPath, const char* extension = ".shp");

// A confirmed output path made to end in ".shp" or ".shx" (any case): "result" and
// "result.txt" gain ".shp", "RESULT.SHP" and "result.shx" stay; the text after the last "."
// of the whole path decides, so "C:\my.files\out" becomes "C:\my.files\out.shp".
std::string ShapeFilePath(const std::string& chosenPath);

// The path with "." + extension appended when its file name has no extension, as a file
// dialog's default extension does for a typed name.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

// The question asked before an existing file is replaced.
std::string ReplaceQuestion(const std::string& path);

// The path a user typed or pasted into a path box, as the program takes it: blanks around
// it and a pair of quotes around it dropped; a file:// address turned into its path
// ("%20" into a blank); "~" at the start standing for the home folder; a name without a
// folder taken in baseFolder, the folder it follows (a folder with its separator, as
// FolderWithSeparator gives). Empty when nothing but blanks was typed.
std::string TypedPath(const std::string& typed, const std::string& baseFolder,
                      const std::string& homeFolder);

}  // namespace korvex::shell
