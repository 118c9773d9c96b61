# The release zip for Windows users: both programs, a README for them and the licence, in one
# folder named after the version. tools/package.sh builds the programs and runs CPack.
install(TARGETS velquist velquist-cli RUNTIME DESTINATION .)
# Text files for Windows keep Windows line ends, so Notepad of any age shows them as lines.
configure_file(${PROJECT_SOURCE_DIR}/docs/README-windows.txt.in ${PROJECT_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/README.txt ${PROJECT_BINARY_DIR}/LICENSE.txt DESTINATION .)
# Packaging must not build every test first: the script builds the two programs itself.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME velquist)
set(CPACK_PACKAGE_VENDOR "The Velquist authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME velquist-${PROJECT_VERSION}-windows-x64)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)
