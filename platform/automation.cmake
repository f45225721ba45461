# The automation layer raises errors of the engine's message family, so the
# platform library needs the engine (which itself depends on nothing).
target_link_libraries(velk_platform PUBLIC velk_engine)
