# Installation and packaging of both programs.
include(GNUInstallDirs)
install(TARGETS vexilon-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
