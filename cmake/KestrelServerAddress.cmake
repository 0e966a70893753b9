# The maker's addresses are fixed at build time.
set(KESTREL_UPDATE_FOLDER_URL "http://updates.corvel.example/Utils/" CACHE STRING
    "Folder on the maker's web server that holds Kestrel.ini and the program files")
set(KESTREL_WEBSITE_URL "http://www.corvel.example/" CACHE STRING "The maker's web site, shown in the About box")
set(KESTREL_EMAIL_ADDRESS "utilities@corvel.example" CACHE STRING "The maker's contact address, shown in the About box")

string(LENGTH "${KESTREL_UPDATE_FOLDER_URL}" _kestrel_url_length)
if(_kestrel_url_length GREATER 41)
  message(FATAL_ERROR "KESTREL_UPDATE_FOLDER_URL is ${_kestrel_url_length} characters long; "
                      "at most 41 fit the program's URL buffer with a 58-character file name.")
endif()
if(NOT KESTREL_UPDATE_FOLDER_URL MATCHES "^http://")
  message(FATAL_ERROR "KESTREL_UPDATE_FOLDER_URL must start with \"http://\" (the server speaks plain HTTP/1.0).")
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
