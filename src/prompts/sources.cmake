set(QZK_PROMPTS_SOURCES
    src/prompts/documentopener.h
    src/prompts/filedetailsmodel.cpp src/prompts/filedetailsmodel.h
    src/prompts/messageboxprompter.cpp src/prompts/messageboxprompter.h
    src/prompts/spokennews.cpp src/prompts/spokennews.h
    src/prompts/strayinputguard.cpp src/prompts/strayinputguard.h
    src/prompts/systemdocumentopener.cpp src/prompts/systemdocumentopener.h
)
