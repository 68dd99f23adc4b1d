# Install and package rules, included from the top-level CMakeLists.txt after the programs are
# defined (ZORVIK_HELP_FILES names the help pages).
#
# Windows (and any other non-Linux system) keeps the one-folder install, laid out like the build
# folder: the programs with YushiMaster.txt, license.txt and LoanHelp/ beside them.
#
# Linux follows the FHS through GNUInstallDirs, and the program recognises this layout at run time
# (a "bin" folder with "../share/zorvik" beside it, app/install_layout.h):
#   bin/zorvik, bin/zorvik-sheet
#   share/zorvik/                       the shipped rate master, license.txt, LoanHelp/
#   share/applications/                 the menu entry, which opens plans (Exec=zorvik %f)
#   share/icons/hicolor/<size>/apps/    the icon at 48, 128 and 256 px
#   share/metainfo/                     AppStream description for software centres
#   share/mime/packages/                *.zvk as application/x-zorvik-plan
#   share/man/man1/                     zorvik.1.gz, zorvik-sheet.1.gz
#   share/doc/zorvik/                   copyright (machine-readable), changelog.gz
#   share/lintian/overrides/zorvik      the reason the CP932 rate master is no UTF-8 text
# `make package` turns the same tree under /usr into a .deb (CPack, dependencies by dpkg-shlibdeps).

set(ZORVIK_APP_ID com.quorvane.zorvik)

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  install(TARGETS zorvik zorvik-sheet RUNTIME DESTINATION .)
  install(FILES res/YushiMaster.txt res/license.txt res/tax_credit_limits.txt DESTINATION .)
  install(FILES ${ZORVIK_HELP_FILES} DESTINATION LoanHelp)
  return()
endif()

include(GNUInstallDirs)
set(ZORVIK_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/zorvik)

# The program finds its data as "../share/zorvik" from its own folder; other directory choices
# would make an installed copy look portable.
file(RELATIVE_PATH _zorvik_data_from_bin "/p/${CMAKE_INSTALL_BINDIR}" "/p/${ZORVIK_INSTALL_DATADIR}")
if(NOT _zorvik_data_from_bin STREQUAL "../share/zorvik")
  message(WARNING "zorvik: CMAKE_INSTALL_BINDIR=${CMAKE_INSTALL_BINDIR} and CMAKE_INSTALL_DATADIR="
                  "${CMAKE_INSTALL_DATADIR} do not give bin/ and share/zorvik/; the installed program "
                  "will treat itself as a portable copy.")
endif()

# The shipped programs resolve every symbol at start, so that the whole GOT is read-only after it
# (full RELRO: Debian's "bindnow" hardening).
target_link_options(zorvik PRIVATE LINKER:-z,now)
target_link_options(zorvik-sheet PRIVATE LINKER:-z,now)
install(TARGETS zorvik zorvik-sheet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package, `cmake --install --strip`) also drops the compilers' .comment
# section, as Debian's own packages do; plain strip keeps it.
if(CMAKE_OBJCOPY)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(program zorvik zorvik-sheet)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
                        COMMAND_ERROR_IS_FATAL ANY)
      endforeach()
    endif()")
endif()
install(FILES res/YushiMaster.txt res/license.txt res/tax_credit_limits.txt DESTINATION ${ZORVIK_INSTALL_DATADIR})
install(FILES ${ZORVIK_HELP_FILES} DESTINATION ${ZORVIK_INSTALL_DATADIR}/LoanHelp)

install(FILES res/linux/${ZORVIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 128 256)
  install(FILES res/linux/icons/zorvik-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${ZORVIK_APP_ID}.png)
endforeach()
configure_file(res/linux/${ZORVIK_APP_ID}.metainfo.xml ${CMAKE_BINARY_DIR}/${ZORVIK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${ZORVIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES res/linux/${ZORVIK_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${ZORVIK_APP_ID}.xml)

# Manual pages and the changelog are shipped compressed as Debian wants them: gzip -9 without the
# name and time stamp, so that the same sources give the same bytes.
find_program(ZORVIK_GZIP gzip REQUIRED)
set(_zorvik_pkgdoc ${CMAKE_BINARY_DIR}/pkgdoc)
set(_zorvik_pkgdoc_gz)
foreach(page zorvik zorvik-sheet)
  configure_file(res/linux/${page}.1 ${_zorvik_pkgdoc}/${page}.1 @ONLY)
  list(APPEND _zorvik_pkgdoc_gz ${_zorvik_pkgdoc}/${page}.1.gz)
endforeach()
configure_file(res/linux/changelog ${_zorvik_pkgdoc}/changelog COPYONLY)
list(APPEND _zorvik_pkgdoc_gz ${_zorvik_pkgdoc}/changelog.gz)
foreach(gz ${_zorvik_pkgdoc_gz})
  string(REGEX REPLACE "\\.gz$" "" plain ${gz})
  add_custom_command(OUTPUT ${gz} COMMAND ${ZORVIK_GZIP} -9nkf ${plain} DEPENDS ${plain} VERBATIM)
endforeach()
add_custom_target(zorvik_pkgdoc ALL DEPENDS ${_zorvik_pkgdoc_gz})
install(FILES ${_zorvik_pkgdoc}/zorvik.1.gz ${_zorvik_pkgdoc}/zorvik-sheet.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Debian's place, named after the package (GNUInstallDirs' DOCDIR would use the project's "Zorvik").
install(FILES res/linux/copyright ${_zorvik_pkgdoc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorvik)
install(FILES res/linux/zorvik.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME zorvik)

# ---- the Debian package -------------------------------------------------------------------------
# The menu, MIME and icon caches are refreshed by the triggers of desktop-file-utils,
# shared-mime-info and the icon theme packages; the package needs no scripts of its own.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "home-loan funding plan sheet (資金計画表)")
# The extended description below the summary line.
# Debian keeps its lines within 80 columns (each is shipped with a leading space).
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "Zorvik draws up a home-loan funding plan sheet for one customer: required\n"
       "funds, miscellaneous costs, annual income and up to ten loans, recalculated\n"
       "as you type, with a payment-target simulation, plan files (.zvk), an A4\n"
       "landscape printout or PDF and a rate master refreshed over HTTP. The\n"
       "interface is in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # zorvik_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvane <support@quorvane.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Japanese text needs a Japanese face: Gothic for the form, Mincho for the printed sheet.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk, fonts-ipafont-mincho | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
