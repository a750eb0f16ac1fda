set(QZK_PROMPTS_SOURCES
    src/prompts/filedetailsmodel.cpp src/prompts/filedetailsmodel.h
    src/prompts/prompter.cpp src/prompts/prompter.h
)
