# Runs the build settings' checks of the maker's key and the update folder
# (cmake/KestrelServerAddress.cmake) in script mode with settings that must
# pass and settings that must fail with a message naming what is wrong.
#   cmake -DSOURCE_DIR=<sources> -P CatalogueKeyCheck.cmake
set(key "S8qIWTYKokFhuWyRuOVyjp4CAUQRGA7l0RU4iKFI6DflL45p9CIYCuBolyJ/PkmbPPvkMziODk8HXVvFoU0r6w==")
string(SUBSTRING "${key}" 1 87 short_key)
string(REPLACE "==" "=A" unpadded_key "${key}")
string(REPLACE "J/P" "J-P" url_alphabet_key "${key}")

# Each case: the settings, separated by "|", then " => " and the expected
# outcome: "ok" or a text the failure message must hold.
set(cases
  "KESTREL_UPDATE_FOLDER_URL=http://updates.corvel.example/Utils/ => ok"
  "KESTREL_UPDATE_FOLDER_URL=http://UPDATES.CORVEL.EXAMPLE/Utils/ => ok"
  "KESTREL_UPDATE_FOLDER_URL=http://updates.corvel.com/Utils/ => -DKESTREL_ALLOW_UNSIGNED_CATALOGUE=ON"
  "KESTREL_UPDATE_FOLDER_URL=http://example.corvel.com/Utils/ => KESTREL_CATALOGUE_KEY"
  "KESTREL_UPDATE_FOLDER_URL=http://updates.example.com:8080/Utils/ => KESTREL_CATALOGUE_KEY"
  "KESTREL_UPDATE_FOLDER_URL=http://updates.corvel.com/Utils/|KESTREL_ALLOW_UNSIGNED_CATALOGUE=ON => ok"
  "KESTREL_UPDATE_FOLDER_URL=http://updates.corvel.com/Utils/|KESTREL_CATALOGUE_KEY=${key} => ok"
  "KESTREL_UPDATE_FOLDER_URL=http://updates.corvel.com/Utils/|KESTREL_CATALOGUE_KEY=${short_key} => 87 characters"
  "KESTREL_UPDATE_FOLDER_URL=http://updates.corvel.com/Utils/|KESTREL_CATALOGUE_KEY=${unpadded_key} => ending in \"==\""
  "KESTREL_UPDATE_FOLDER_URL=http://updates.corvel.com/Utils/|KESTREL_CATALOGUE_KEY=${url_alphabet_key} => standard base64"
)

set(failures 0)
foreach(case IN LISTS cases)
  string(FIND "${case}" " => " split)
  string(SUBSTRING "${case}" 0 ${split} settings)
  math(EXPR split "${split} + 4")
  string(SUBSTRING "${case}" ${split} -1 expected)
  string(REPLACE "|" ";" settings "${settings}")
  set(arguments)
  foreach(setting IN LISTS settings)
    list(APPEND arguments "-D${setting}")
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} ${arguments} -P ${SOURCE_DIR}/cmake/KestrelServerAddress.cmake
                  RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_QUIET)
  string(REGEX REPLACE "[ \n]+" " " errors "${errors}")
  if(expected STREQUAL "ok")
    if(NOT result EQUAL 0)
      message(SEND_ERROR "refused ${settings}: ${errors}")
      math(EXPR failures "${failures} + 1")
    endif()
  else()
    string(FIND "${errors}" "${expected}" at)
    if(result EQUAL 0 OR at EQUAL -1)
      message(SEND_ERROR "${settings}: expected a failure naming '${expected}', got ${result}: ${errors}")
      math(EXPR failures "${failures} + 1")
    endif()
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures} settings checked wrongly")
endif()
