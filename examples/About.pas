unit About;

interface

uses
  Classes, Controls, Forms, StdCtrls;

type
  TAboutBox = class(TForm)
    TitleLabel: TLabel;
    CopyrightLabel: TLabel;
    OkButton: TButton;
  end;

var
  AboutBox: TAboutBox;

implementation

{$R *.dfm}

end.
