# Builds the skin (style sheet and its pictures) and the program icon into vistello_app as Qt
# resources: :/skin/<file> and :/icons/<file>. Included from src/app/CMakeLists.txt.
file(GLOB skin_files CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/data/skin/*.qss
  ${PROJECT_SOURCE_DIR}/data/skin/*.svg
  ${PROJECT_SOURCE_DIR}/data/skin/*.png
  ${PROJECT_SOURCE_DIR}/data/icons/*.svg
  ${PROJECT_SOURCE_DIR}/data/icons/*.png)
qt_add_resources(vistello_app vistello_skin
  PREFIX "/"
  BASE ${PROJECT_SOURCE_DIR}/data
  FILES ${skin_files})
