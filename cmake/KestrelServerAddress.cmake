# The maker's addresses are fixed at build time.
set(KESTREL_UPDATE_FOLDER_URL "http://updates.corvel.example/Utils/" CACHE STRING
    "Folder on the maker's web server that holds Kestrel.ini and the program files")
set(KESTREL_WEBSITE_URL "http://www.corvel.example/" CACHE STRING "The maker's web site, shown in the About box")
set(KESTREL_EMAIL_ADDRESS "utilities@corvel.example" CACHE STRING "The maker's contact address, shown in the About box")

# Reads "NAME = <number>;" from a source file, so the limits below stay the
# ones the program is compiled with.
function(kestrel_source_constant file name result)
  file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/../${file}" lines REGEX "[ \t]${name} = [0-9]+;")
  if(NOT lines MATCHES "[ \t]${name} = ([0-9]+)")
    message(FATAL_ERROR "${file} no longer defines ${name} as a number.")
  endif()
  set(${result} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()

# The URL buffer holds the address, the longest file name and a terminator.
kestrel_source_constant(net/Downloader.h UrlBufferSize _kestrel_url_buffer)
kestrel_source_constant(catalogue/CatalogueEntry.h MaxFileNameLength _kestrel_longest_name)
math(EXPR _kestrel_url_room "${_kestrel_url_buffer} - ${_kestrel_longest_name} - 1")
string(LENGTH "${KESTREL_UPDATE_FOLDER_URL}" _kestrel_url_length)
if(_kestrel_url_length GREATER _kestrel_url_room)
  message(FATAL_ERROR "KESTREL_UPDATE_FOLDER_URL is ${_kestrel_url_length} characters long; "
                      "at most ${_kestrel_url_room} fit the program's URL buffer with a "
                      "${_kestrel_longest_name}-character file name.")
endif()
# The program escapes every '%' of a file name it appends, and the server
# decodes the whole path: a '%' in the address would be read as an escape.
if(KESTREL_UPDATE_FOLDER_URL MATCHES "%")
  message(FATAL_ERROR "KESTREL_UPDATE_FOLDER_URL must not contain \"%\" (write the folder's name unescaped).")
endif()
# The program takes the host name, the port and the folder apart at these
# characters: a server part with a user name or an IPv6 address would not
# reach the server named.
if(NOT KESTREL_UPDATE_FOLDER_URL MATCHES "^https?://[^/:@?#]+(:[0-9]+)?/")
  message(FATAL_ERROR "KESTREL_UPDATE_FOLDER_URL must start with \"http://\" or \"https://\", then the server's "
                      "name, an optional \":port\" in digits and \"/\".")
endif()
if(KESTREL_UPDATE_FOLDER_URL MATCHES "^https?://[^/:]+:([0-9]+)/")
  # Compared as text first: a number too long for CMake's arithmetic is no port either.
  string(REGEX REPLACE "^0+" "" _kestrel_update_port "${CMAKE_MATCH_1}")
  string(LENGTH "${_kestrel_update_port}" _kestrel_port_digits)
  if(_kestrel_port_digits EQUAL 0 OR _kestrel_port_digits GREATER 5 OR _kestrel_update_port GREATER 65535)
    message(FATAL_ERROR "KESTREL_UPDATE_FOLDER_URL has the port ${CMAKE_MATCH_1}; a port is a number from 1 to 65535.")
  endif()
endif()
if(NOT KESTREL_UPDATE_FOLDER_URL MATCHES "/$")
  message(FATAL_ERROR "KESTREL_UPDATE_FOLDER_URL must end with \"/\" (file names are appended to it).")
endif()
if(NOT KESTREL_WEBSITE_URL MATCHES "^https?://")
  message(FATAL_ERROR "KESTREL_WEBSITE_URL must be an http:// or https:// address.")
endif()
if(NOT KESTREL_EMAIL_ADDRESS MATCHES "^[^@ :]+@[^@ ]+$")
  message(FATAL_ERROR "KESTREL_EMAIL_ADDRESS must be a bare address such as name@host, without a scheme.")
endif()

# The maker's public key: catalogues must carry its signature. Two keys
# separated by "," while the maker changes keys: a catalogue signed by either
# is accepted. Empty builds a Kestrel that accepts unsigned catalogues.
set(KESTREL_CATALOGUE_KEY "" CACHE STRING
    "Base64 of the maker's 64-byte ECDSA P-256 public key (X then Y, big-endian), or two such keys separated by \",\"; empty for unsigned catalogues")
option(KESTREL_ALLOW_UNSIGNED_CATALOGUE
       "Build without KESTREL_CATALOGUE_KEY although the update folder is a real server" OFF)

if(NOT KESTREL_CATALOGUE_KEY STREQUAL "")
  # A ";" would make CMake split the value into a list on its way to the code.
  if(KESTREL_CATALOGUE_KEY MATCHES ";")
    message(FATAL_ERROR "KESTREL_CATALOGUE_KEY must separate its two keys with \",\", not \";\".")
  endif()
  string(REPLACE "," ";" _kestrel_keys "${KESTREL_CATALOGUE_KEY}")
  # Counted by the commas: list(LENGTH) may skip an empty key.
  string(REGEX REPLACE "[^,]" "" _kestrel_commas "${KESTREL_CATALOGUE_KEY}")
  string(LENGTH "x${_kestrel_commas}" _kestrel_key_count)
  if(_kestrel_key_count GREATER 2)
    message(FATAL_ERROR "KESTREL_CATALOGUE_KEY holds ${_kestrel_key_count} keys; at most two, separated by \",\".")
  endif()
  set(_kestrel_key_number 0)
  foreach(_kestrel_key IN LISTS _kestrel_keys)
    math(EXPR _kestrel_key_number "${_kestrel_key_number} + 1")
    set(_kestrel_key_name "KESTREL_CATALOGUE_KEY")
    if(_kestrel_key_count EQUAL 2)
      set(_kestrel_key_name "Key ${_kestrel_key_number} of KESTREL_CATALOGUE_KEY")
    endif()
    string(LENGTH "${_kestrel_key}" _kestrel_key_length)
    if(NOT _kestrel_key_length EQUAL 88)
      message(FATAL_ERROR "${_kestrel_key_name} is ${_kestrel_key_length} characters long; the base64 of a "
                          "64-byte public key has 88, the last two \"==\".")
    endif()
    if(NOT _kestrel_key MATCHES "^[A-Za-z0-9+/]+==$")
      message(FATAL_ERROR "${_kestrel_key_name} must be standard base64 (A-Z, a-z, 0-9, + and /) ending in \"==\".")
    endif()
  endforeach()
else()
  string(REGEX REPLACE "^https?://([^/:]*).*$" "\\1" _kestrel_update_host "${KESTREL_UPDATE_FOLDER_URL}")
  string(TOLOWER "${_kestrel_update_host}" _kestrel_update_host)
  if(NOT _kestrel_update_host MATCHES "\\.example$" AND NOT KESTREL_ALLOW_UNSIGNED_CATALOGUE)
    message(FATAL_ERROR "The update folder's host ${_kestrel_update_host} is a real server, so Kestrel must check "
                        "its catalogue's signature: give the maker's public key as KESTREL_CATALOGUE_KEY, or build "
                        "an unsigned Kestrel on purpose with -DKESTREL_ALLOW_UNSIGNED_CATALOGUE=ON.")
  endif()
endif()
