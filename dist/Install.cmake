# Installs Zorvik like a desktop application. Runs at install time (cmake --install, CPack), so
# the layout follows the prefix given then:
#  - a prefix of its own, named "Zorvik" (/opt/Zorvik by default): the prefix is the program
#    folder; the desktop files go to /usr/local/share when it lies under /opt (where the
#    desktop looks for them), else to the share folder beside it;
#  - any other prefix (/usr, /usr/local, ~/.local): the program folder is <prefix>/lib/zorvik,
#    with links in <prefix>/bin, and the desktop files go to <prefix>/share.
# The uninstaller empties the program folder, so it is never a folder shared with anything else.
# It holds the trainer, the uninstaller, zvregedit and the sound packages.
# DESTDIR is honoured by file(INSTALL); the links and the uninstall entry add it themselves.
#
# Set before this script: ZV_DIST, ZV_WORK_DIR, ZV_ICON_PNG, ZV_PROGRAMS, ZV_PACKAGES_DIR, ZV_STRIP.

set(zv_prefix "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "(.)/+$" "\\1" zv_prefix "${zv_prefix}")
set(zv_bin_dir "")
get_filename_component(zv_prefix_name "${zv_prefix}" NAME)
if(zv_prefix_name STREQUAL "Zorvik")
  set(zv_program_dir "${zv_prefix}")
  if(zv_prefix MATCHES "^/opt/")
    set(zv_share "/usr/local/share")
  else()
    get_filename_component(zv_share "${zv_prefix}/../share" ABSOLUTE)
  endif()
else()
  set(zv_program_dir "${zv_prefix}/lib/zorvik")
  set(zv_bin_dir "${zv_prefix}/bin")
  set(zv_share "${zv_prefix}/share")
endif()

file(INSTALL ${ZV_PROGRAMS} DESTINATION "${zv_program_dir}" TYPE EXECUTABLE)
# `cmake --install --strip` and the package strip the programs (their debugging information
# stays in the build).
if(CMAKE_INSTALL_DO_STRIP AND ZV_STRIP)
  foreach(zv_program ${ZV_PROGRAMS})
    get_filename_component(zv_name "${zv_program}" NAME)
    execute_process(COMMAND "${ZV_STRIP}" --remove-section=.comment --remove-section=.note --strip-unneeded
                            "$ENV{DESTDIR}${zv_program_dir}/${zv_name}")
  endforeach()
endif()
# The sound packages the build made, when the voice was there to make them.
file(GLOB zv_packages "${ZV_PACKAGES_DIR}/zv*.cok")
if(zv_packages)
  file(INSTALL ${zv_packages} DESTINATION "${zv_program_dir}" TYPE FILE)
else()
  message(STATUS "No sound packages were built: the trainer is installed without sound")
endif()

if(zv_bin_dir)
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${zv_bin_dir}")
  foreach(zv_program zorvik zvuninstall zvregedit)
    if(EXISTS "$ENV{DESTDIR}${zv_program_dir}/${zv_program}")
      file(RELATIVE_PATH zv_target "${zv_bin_dir}" "${zv_program_dir}/${zv_program}")
      file(CREATE_LINK "${zv_target}" "$ENV{DESTDIR}${zv_bin_dir}/${zv_program}" SYMBOLIC)
      list(APPEND CMAKE_INSTALL_MANIFEST_FILES "$ENV{DESTDIR}${zv_bin_dir}/${zv_program}")
      message(STATUS "Installing: $ENV{DESTDIR}${zv_bin_dir}/${zv_program} -> ${zv_target}")
    endif()
  endforeach()
endif()

# A desktop entry's Exec names the program as one argument: quoted when it holds a character
# the entry's syntax reserves (the desktop-entry quoting rules: backslash and double quote escaped).
function(zv_exec_argument path out)
  if(path MATCHES "[ \t\"'\\\\><~|&;$*?#()`=%]")
    string(REPLACE "\\" "\\\\" path "${path}")
    string(REPLACE "\"" "\\\"" path "${path}")
    string(REPLACE "`" "\\`" path "${path}")
    string(REPLACE "$" "\\$" path "${path}")
    string(REPLACE "%" "%%" path "${path}")
    set(path "\"${path}\"")
    # The value itself is a string of the entry: its backslashes are doubled once more.
    string(REPLACE "\\" "\\\\" path "${path}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

zv_exec_argument("${zv_program_dir}/zorvik" ZV_EXEC_TRAINER)
zv_exec_argument("${zv_program_dir}/zvregedit" ZV_EXEC_REGEDIT)
# One folder per destination: installs into different stages may run at the same time.
string(MD5 zv_destination "$ENV{DESTDIR}${zv_prefix}")
set(zv_entries "${ZV_WORK_DIR}/entries-${zv_destination}")
file(MAKE_DIRECTORY "${zv_entries}")
set(zv_entry_files "ru.ostwin.Zorvik.desktop")
if(EXISTS "$ENV{DESTDIR}${zv_program_dir}/zvregedit")
  list(APPEND zv_entry_files "ru.ostwin.zvregedit.desktop")
endif()
set(zv_entry_paths "")
foreach(zv_entry ${zv_entry_files})
  configure_file("${ZV_DIST}/${zv_entry}.in" "${zv_entries}/${zv_entry}" @ONLY)
  list(APPEND zv_entry_paths "${zv_entries}/${zv_entry}")
endforeach()
file(INSTALL ${zv_entry_paths} DESTINATION "${zv_share}/applications" TYPE FILE)
file(INSTALL "${ZV_ICON_PNG}" DESTINATION "${zv_share}/icons/hicolor/48x48/apps" TYPE FILE)
file(INSTALL "${ZV_DIST}/ru.ostwin.Zorvik.svg" DESTINATION "${zv_share}/icons/hicolor/scalable/apps" TYPE FILE)
file(INSTALL "${ZV_DIST}/ru.ostwin.Zorvik.metainfo.xml" DESTINATION "${zv_share}/metainfo" TYPE FILE)

# The uninstall entry of the machine hive. A staged install (DESTDIR, a package being built)
# leaves it to the package's post-install step; ZORVIK_REGISTRY_DIR chooses the hives.
if("$ENV{DESTDIR}" STREQUAL "" OR DEFINED ENV{ZORVIK_REGISTRY_DIR})
  execute_process(
    COMMAND "$ENV{DESTDIR}${zv_program_dir}/zvuninstall" --register "${zv_program_dir}/zvuninstall"
    RESULT_VARIABLE zv_result ERROR_VARIABLE zv_error)
  if(zv_result EQUAL 0)
    message(STATUS "Registered the uninstaller: ${zv_program_dir}/zvuninstall")
  else()
    message(WARNING "The uninstall entry could not be written (${zv_error}); run "
                    "'${zv_program_dir}/zvuninstall --register' with the right to change the machine hive")
  endif()
else()
  message(STATUS "Staged install: the uninstall entry is written by the package's post-install step")
endif()
