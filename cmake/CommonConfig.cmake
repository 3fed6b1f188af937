# Settings every target of the project shares: link velmira_common.
add_library(velmira_common INTERFACE)
target_compile_options(velmira_common INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Wno-missing-field-initializers)
target_compile_definitions(velmira_common INTERFACE _GLIBCXX_ASSERTIONS)
if(VELMIRA_WERROR)
  target_compile_options(velmira_common INTERFACE -Werror)
endif()
if(VELMIRA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
set(VELMIRA_SOURCE_DIR ${CMAKE_SOURCE_DIR})
