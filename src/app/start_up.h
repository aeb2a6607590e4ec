#pragma once

class Form1;

// Start-up and the initial screen.
class StartUp
{
public:
    explicit StartUp(Form1 &form) : form(form) {}

    void Form_Load();
    // Lays out the blackboard, resets the scene and starts the table and the graph.
    void ShowInitialScreen();
    // 初期画面
    void Command1_Click();

private:
    Form1 &form;
};
