unit Main;

interface

uses
  Windows, SysUtils, Classes, Controls, Forms, StdCtrls;

type
  TMainForm = class(TForm)
    GreetingLabel: TLabel;
    IntroLabel: TLabel;
    SizeLabel: TLabel;
    ChineseLabel: TLabel;
    LanguageBox: TComboBox;
    NotesMemo: TMemo;
    OpenButton: TButton;
    AboutButton: TButton;
    procedure OpenButtonClick(Sender: TObject);
    procedure AboutButtonClick(Sender: TObject);
  end;

var
  MainForm: TMainForm;

implementation

uses About;

{$R *.dfm}

const
  NoProject = 'No project is open.';

procedure TMainForm.OpenButtonClick(Sender: TObject);
begin
  // A comment with 'quotes' that is not a text of the program
  ShowMessage('Can''t open a project in the demo.');
  GreetingLabel.Caption := NoProject;
end;

procedure TMainForm.AboutButtonClick(Sender: TObject);
begin
  AboutBox.ShowModal;
end;

end.
