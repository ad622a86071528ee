#pragma once
// The program's skin: one Qt style sheet that gives every window and control its look, with
// the pictures it names. The sheet and its pictures are built into the program; a file named
// skin.qss beside the program replaces the sheet, and pictures in a folder named "skin" beside
// the program replace the built-in ones of the same name, so a user can restyle the program
// without building it. The sheet names its pictures as skin:NAME.

#include <QString>

class QApplication;
class QIcon;

namespace vistello::app {

// The path of the built-in style sheet in the program's resources.
inline constexpr const char* kBuiltInSkin = ":/skin/skin.qss";

// The style sheet to use: folder/skin.qss when it exists and can be read as a file, the
// built-in sheet otherwise. An empty override file is honoured (it means "no skin").
QString loadSkin(const QString& programFolder);

// Points the skin: picture prefix at programFolder/skin and then at the built-in pictures.
void setSkinSearchPaths(const QString& programFolder);

// Loads the skin for the running program's folder and sets it on the application.
void applySkin(QApplication& application);

// The program icon in every built-in size.
QIcon programIcon();

} // namespace vistello::app
