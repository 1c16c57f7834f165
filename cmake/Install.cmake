# What `cmake --install` puts where, and the packages CPack makes of it.
#
# Debian and other Unix systems: both programs in bin/, a desktop entry for
# the merge window, man pages generated from the programs' own --help, the
# licence as share/doc/avelin/copyright; CPack makes a .deb (its dependencies
# found by dpkg-shlibdeps) and a .tar.gz.
#
# Windows: one flat folder that runs on a machine without Qt or vcpkg:
# avelin.exe and avelin-rec.exe, Qt's libraries and plugins (windeployqt),
# every other DLL they load (found by CMake in the vcpkg and Qt folders), the
# compiler's runtime and the licence as LICENSE.txt; CPack makes a ZIP, and an
# installer where NSIS or WiX is present.

set(_programs avelin-rec)
if(TARGET avelin)
  list(APPEND _programs avelin)
endif()
install(TARGETS ${_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME LICENSE.txt)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
endif()

if(WIN32)
  if(TARGET avelin AND CMAKE_CROSSCOMPILING)
    # A cross build (mingw-w64 on Linux) has no windeployqt: the windows
    # platform plugin and the native style go where Qt looks for plugins
    # beside the program; Qt's libraries are found below with the others.
    install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
    install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
  elseif(TARGET avelin)
    # Qt's deployment script runs windeployqt over the installed program.
    # Its arguments changed in Qt 6.5.
    if(Qt6_VERSION VERSION_LESS 6.5)
      qt_generate_deploy_app_script(TARGET avelin FILENAME_VARIABLE _deploy_qt)
    else()
      qt_generate_deploy_app_script(TARGET avelin OUTPUT_SCRIPT _deploy_qt NO_TRANSLATIONS NO_COMPILER_RUNTIME)
    endif()
    install(SCRIPT ${_deploy_qt})
  endif()
  # The DLLs of the other libraries (libzip, zlib, ...; and those Qt's own
  # libraries load), from the folders the build took them from: vcpkg's, Qt's
  # and, in a cross build, the compiler's runtime.
  set(_dll_folders)
  if(DEFINED VCPKG_INSTALLED_DIR AND DEFINED VCPKG_TARGET_TRIPLET)
    list(APPEND _dll_folders "${VCPKG_INSTALLED_DIR}/${VCPKG_TARGET_TRIPLET}/bin")
  endif()
  if(TARGET Qt6::Core)
    list(APPEND _dll_folders "$<TARGET_FILE_DIR:Qt6::Core>")
  endif()
  set(_system_dlls "^api-ms-" "^ext-ms-")
  if(CMAKE_CROSSCOMPILING AND MINGW)
    foreach(_dll libstdc++-6.dll libwinpthread-1.dll)
      execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_dll}
                      OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
      get_filename_component(_path "${_path}" DIRECTORY)
      list(APPEND _dll_folders "${_path}")
    endforeach()
    # Windows' own DLLs, which a cross build has no folder of.
    list(APPEND _system_dlls "^(advapi32|bcrypt|comctl32|comdlg32|crypt32|d3d9|d3d11|dwmapi|dwrite|dxgi|gdi32|imm32|kernel32|mpr|msvcrt|netapi32|ntdll|ole32|oleaut32|rpcrt4|setupapi|shcore|shell32|shlwapi|user32|userenv|uxtheme|version|winmm|ws2_32|wtsapi32)[.]dll$")
    # The DLLs' imports are read with the cross toolchain's objdump.
    install(CODE "
      set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
      set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
      set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${CMAKE_OBJDUMP})")
  endif()
  install(CODE "set(_dll_folders \"${_dll_folders}\")\nset(_system_dlls \"${_system_dlls}\")")
  install(CODE [[
    set(_root "${CMAKE_INSTALL_PREFIX}")
    file(GLOB _exes "${_root}/*.exe")
    file(GLOB_RECURSE _dlls "${_root}/*.dll")
    file(GET_RUNTIME_DEPENDENCIES
      EXECUTABLES ${_exes} LIBRARIES ${_dlls}
      DIRECTORIES ${_dll_folders}
      RESOLVED_DEPENDENCIES_VAR _found UNRESOLVED_DEPENDENCIES_VAR _missing
      PRE_EXCLUDE_REGEXES ${_system_dlls}
      POST_EXCLUDE_REGEXES "[/\\\\][Ss]ystem32[/\\\\]" "[/\\\\][Ss]ys[Ww][Oo][Ww]64[/\\\\]")
    # Names come back in lower case; on a file system that tells cases apart
    # (a cross build's) they are looked up again in any case.
    set(_still_missing)
    foreach(_name IN LISTS _missing)
      set(_hit)
      foreach(_dir IN LISTS _dll_folders)
        file(GLOB _candidates "${_dir}/*.dll" "${_dir}/*.DLL")
        foreach(_candidate IN LISTS _candidates)
          get_filename_component(_file "${_candidate}" NAME)
          string(TOLOWER "${_file}" _file)
          if(_file STREQUAL _name AND NOT _hit)
            set(_hit "${_candidate}")
          endif()
        endforeach()
      endforeach()
      if(_hit)
        list(APPEND _found "${_hit}")
      else()
        list(APPEND _still_missing "${_name}")
      endif()
    endforeach()
    set(_missing ${_still_missing})
    foreach(_dll IN LISTS _found)
      file(INSTALL "${_dll}" DESTINATION "${_root}")
    endforeach()
    if(_missing)
      message(WARNING "DLLs not found for the install folder: ${_missing}")
    endif()
  ]])
  if(MSVC)
    # The compiler's runtime (the Visual C++ runtime DLLs) beside the programs.
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION ${CMAKE_INSTALL_BINDIR})
    include(InstallRequiredSystemLibraries)
  endif()
else()
  if(TARGET avelin)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/avelin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  endif()
  # Man pages: the text of packaging/<program>.1.in around the program's own
  # --help (and each subcommand's), so that they follow the options.
  if(NOT CMAKE_CROSSCOMPILING)
    foreach(_program IN LISTS _programs)
      set(_page ${CMAKE_CURRENT_BINARY_DIR}/man/${_program}.1)
      add_custom_command(
        OUTPUT ${_page}.gz
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${_program}> -DNAME=${_program}
                -DVERSION=${PROJECT_VERSION} -DTEMPLATE=${PROJECT_SOURCE_DIR}/packaging/${_program}.1.in
                -DOUTPUT=${_page} -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
        DEPENDS ${_program} ${PROJECT_SOURCE_DIR}/packaging/${_program}.1.in ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
        COMMENT "Man page of ${_program}")
      list(APPEND _pages ${_page}.gz)
    endforeach()
    add_custom_target(man_pages ALL DEPENDS ${_pages})
    install(FILES ${_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endif()

# Packages.
set(CPACK_PACKAGE_NAME avelin)
set(CPACK_PACKAGE_VENDOR "avelin")
set(CPACK_PACKAGE_CONTACT "avelin developers <avelin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Merges vote results files and enters manual vote results for the avelin add-in")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "avelin merges the vote results files (.rec) of up to ten meetings into one file in which each meeting "
  "is a subgroup of keypads, and turns response counts typed into a grid into a results file. avelin-rec "
  "does the same jobs from the command line.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY avelin)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  find_program(AVELIN_MAKENSIS makensis)
  if(AVELIN_MAKENSIS)
    list(APPEND CPACK_GENERATOR NSIS)
  endif()
  find_program(AVELIN_WIX NAMES wix candle)
  if(AVELIN_WIX)
    list(APPEND CPACK_GENERATOR WIX)
    set(CPACK_WIX_UPGRADE_GUID 770DF226-80E7-4D9F-84E8-FA30267AE998) # never change: upgrades find the old install by it
  endif()
else()
  set(CPACK_GENERATOR "DEB;TGZ")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
