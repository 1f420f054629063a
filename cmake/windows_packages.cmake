# Puts the Windows program into its two download forms, a portable zip and a per-user MSI,
# the same bytes from the same inputs:
#   cmake -DSOURCE_DIR=... -DEXE=... -DICON=... -DVERSION=... -DEPOCH=... -DOUT_DIR=... -P this
# EPOCH (seconds) dates every file inside both. The MSI's product code follows the version;
# its package code follows the version and the program's bytes, as a package code must.
foreach(var SOURCE_DIR EXE ICON VERSION EPOCH OUT_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "windows_packages.cmake needs -D${var}=...")
  endif()
endforeach()
find_program(WIXL wixl REQUIRED)
find_program(MSIBUILD msibuild REQUIRED)
find_program(FAKETIME faketime REQUIRED)
find_program(TOUCH touch REQUIRED)
find_program(ZIP zip REQUIRED)

function(run)  # in OUT_DIR: wixl finds its files by paths relative to where it runs
  execute_process(COMMAND ${ARGV} WORKING_DIRECTORY ${OUT_DIR}
                  RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGV} failed (${status}):\n${errors}")
  endif()
endfunction()

# The files, with fixed modes and dates: what an archive records of them does not depend on
# the umask or the hour of the build.
set(stage ${OUT_DIR}/tolvane-${VERSION}-files)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
set(payload tolvane.exe LICENSE.txt THIRD-PARTY-NOTICES.txt)
function(stage from to)
  file(COPY_FILE ${from} ${stage}/${to})
  file(CHMOD ${stage}/${to} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  run(${TOUCH} -d @${EPOCH} ${stage}/${to})
endfunction()
stage(${EXE} tolvane.exe)
stage(${SOURCE_DIR}/LICENSE LICENSE.txt)
stage(${SOURCE_DIR}/app/win32/THIRD-PARTY-NOTICES.txt THIRD-PARTY-NOTICES.txt)
stage(${ICON} tolvane.ico)  # for the installer only

# A zip records local time: the archivers run in UTC, so EPOCH is the same date everywhere.
execute_process(COMMAND date -u -d @${EPOCH} "+%Y-%m-%d %H:%M:%S"
                OUTPUT_VARIABLE clock OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(zip ${OUT_DIR}/tolvane-${VERSION}-windows-x64.zip)
file(REMOVE ${zip})
# -X: no extra fields, which would record the files' access and change times.
run(${CMAKE_COMMAND} -E env TZ=UTC ${CMAKE_COMMAND} -E chdir ${stage}
    ${ZIP} -X -9 -q ${zip} ${payload})

# wixl stamps the package with the clock and a random package code: the clock is held at
# EPOCH while it runs, and the code is replaced by one derived from what the package holds.
file(SHA256 ${EXE} exe_sum)
string(UUID product_code NAMESPACE 63D3DADE-6644-49D5-85B6-B4AB7293560C
       NAME "product ${VERSION}" TYPE SHA1 UPPER)
string(UUID package_code NAMESPACE 63D3DADE-6644-49D5-85B6-B4AB7293560C
       NAME "package ${VERSION} ${exe_sum}" TYPE SHA1 UPPER)
set(msi ${OUT_DIR}/tolvane-${VERSION}-x64.msi)
file(REMOVE ${msi})
run(${CMAKE_COMMAND} -E env TZ=UTC ${FAKETIME} -f "${clock}"
    ${WIXL} -a x64 -D Version=${VERSION} -D ProductCode=${product_code} -D Files=tolvane-${VERSION}-files
    -o ${msi} ${SOURCE_DIR}/app/win32/tolvane.wxs)
# Not through run(): its argument list would split the template "x64;1033" in two.
execute_process(COMMAND ${MSIBUILD} ${msi} -s "Tolvane ${VERSION}" "Tolvane developers"
                        "x64;1033" "{${package_code}}" COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${stage})
