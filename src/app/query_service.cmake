# The word query service: answers other programs on the D-Bus session bus.
# The answers themselves are Qt-free and join the shell's other such parts.
target_sources(tovuri_shell PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WordQuery.cpp)
find_package(Qt6 REQUIRED COMPONENTS Core DBus)
add_library(tovuri_query_service STATIC ${CMAKE_CURRENT_LIST_DIR}/SpellingService.cpp)
add_library(Tovuri::query_service ALIAS tovuri_query_service)
set_target_properties(tovuri_query_service PROPERTIES AUTOMOC ON)
target_include_directories(tovuri_query_service PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(tovuri_query_service PUBLIC Tovuri::shell Qt6::Core Qt6::DBus)
# Where D-Bus tools (and developers) look for a service's interface.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/org.tovuri.Spelling.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
