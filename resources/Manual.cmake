# The user manual (docs/manual, Markdown) becomes a Qt help collection that
# is compiled into the desktop shell as the resources :/help/varnel.qch and
# :/help/topics.tsv. Included where varnel_dialogs is defined, so that the
# generated files are sources of that directory.
find_package(Qt6 QUIET COMPONENTS ToolsTools)
if(TARGET Qt6::qhelpgenerator)
  set(VARNEL_QHELPGENERATOR Qt6::qhelpgenerator)
else()
  find_program(VARNEL_QHELPGENERATOR qhelpgenerator REQUIRED
               HINTS /usr/lib/qt6/libexec /usr/lib/qt6/bin ${QT6_INSTALL_PREFIX}/libexec)
endif()

set(MANUAL_OUT ${CMAKE_BINARY_DIR}/manual)
file(GLOB_RECURSE MANUAL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/*)
add_custom_command(
  OUTPUT ${MANUAL_OUT}/varnel.qch ${MANUAL_OUT}/topics.tsv
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${MANUAL_OUT}/html
  COMMAND manual_helpgen ${CMAKE_SOURCE_DIR}/docs/manual ${MANUAL_OUT}/html
  COMMAND ${VARNEL_QHELPGENERATOR} -s ${MANUAL_OUT}/html/varnel.qhp -o ${MANUAL_OUT}/varnel.qch
  COMMAND ${CMAKE_COMMAND} -E copy ${MANUAL_OUT}/html/topics.tsv ${MANUAL_OUT}/topics.tsv
  DEPENDS manual_helpgen ${MANUAL_SOURCES}
  COMMENT "Building the help collection from docs/manual"
  VERBATIM)
file(WRITE ${MANUAL_OUT}/manual.qrc
     "<RCC><qresource prefix=\"/help\">\n"
     "<file alias=\"varnel.qch\">${MANUAL_OUT}/varnel.qch</file>\n"
     "<file alias=\"topics.tsv\">${MANUAL_OUT}/topics.tsv</file>\n"
     "</qresource></RCC>\n")
set_source_files_properties(${MANUAL_OUT}/varnel.qch ${MANUAL_OUT}/topics.tsv PROPERTIES GENERATED TRUE)
qt_add_resources(MANUAL_RESOURCE_SOURCES ${MANUAL_OUT}/manual.qrc)
set_source_files_properties(${MANUAL_OUT}/manual.qrc PROPERTIES SKIP_AUTORCC ON)
target_sources(varnel_dialogs PRIVATE ${MANUAL_RESOURCE_SOURCES})
